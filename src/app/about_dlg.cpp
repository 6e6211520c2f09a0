#include "app/about_dlg.h"

#include "res/resource_ids.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
