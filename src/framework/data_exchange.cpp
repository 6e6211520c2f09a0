#include "framework/data_exchange.h"

#include <fmt/format.h>

#include <QLabel>

#include "framework/dialog.h"
#include "framework/message_box.h"

namespace valdrix::gui {

CWnd CDataExchange::PrepareCtrl(int id) {
    m_lastControl = id;
    return CWnd(m_pDlgWnd->GetDlgItem(id));
}

namespace {

// The name the operator knows a field by: its accessible name, else the text of its label.
CString FieldName(const QWidget& field) {
    QString name = field.accessibleName();
    if (name.trimmed().isEmpty()) {
        for (const QLabel* label : field.parentWidget()->findChildren<QLabel*>()) {
            if (label->buddy() == &field) name = label->text();
        }
    }
    return name.trimmed().toStdString();
}

}  // namespace

void CDataExchange::Fail(const CString& message) {
    m_failed = true;
    QWidget* field = m_pDlgWnd->GetDlgItem(m_lastControl);
    m_refusal = fmt::format("{}: not sent: {}", FieldName(*field), message);
    AfxMessageBox(message);
    CWnd(field).SetFocus();
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.GetSafeHwnd() == nullptr) control.Attach(pDX->m_pDlgWnd->GetDlgItem(id));
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    if (pDX->Failed()) return;
    CWnd control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = control.GetWindowText();
    } else {
        control.SetWindowText(value);
    }
}

}  // namespace valdrix::gui
