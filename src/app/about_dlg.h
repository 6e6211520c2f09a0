#pragma once

#include "framework/dialog.h"

// The About box: the program's name, version and icon.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
