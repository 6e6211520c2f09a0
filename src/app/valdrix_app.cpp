#include "app/valdrix_app.h"

#include "app/valdrix_dlg.h"

namespace valdrix::gui {

bool CValdrixApp::InitInstance() {
    valdrix::link::Instrument instrument(m_link);
    CValdrixDlg dlg(instrument, m_link, {true, m_bStartFromDefaults});
    dlg.DoModal();
    return false;
}

}  // namespace valdrix::gui
