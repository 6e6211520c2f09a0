#include "app/valdrix_app.h"

#include "app/valdrix_dlg.h"

namespace valdrix::gui {

bool CValdrixApp::InitInstance() {
    CValdrixDlg dlg(m_link, {true, m_bStartFromDefaults});
    dlg.DoModal();
    return false;
}

}  // namespace valdrix::gui
