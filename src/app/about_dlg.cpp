#include "app/about_dlg.h"

#include "res/resource_ids.h"

namespace valdrix::gui {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

}  // namespace valdrix::gui
