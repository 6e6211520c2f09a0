#include "app/valdrix_app.h"

#include "app/valdrix_dlg.h"

bool CValdrixApp::InitInstance() {
    CValdrixDlg dlg(m_link);
    dlg.DoModal();
    return false;
}
