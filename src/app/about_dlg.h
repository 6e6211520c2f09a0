#pragma once

#include "framework/dialog.h"

namespace valdrix::gui {

// The About box: the program's name, version and icon.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};

}  // namespace valdrix::gui
