#pragma once

#include "framework/cstring.h"
#include "framework/operator_message.h"

namespace valdrix::gui {

// The panel's way of telling the operator: a modal box with the OK button only and no icon,
// echoed to standard error so that the terminal keeps the reason. The program installs it as the
// message handler at start.
void ShowModalMessageBox(const CString& text, const CString& caption);

}  // namespace valdrix::gui
