#include "framework/data_exchange.h"

#include <fmt/format.h>

#include <QLabel>

#include "framework/button.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "pages/model/number_text.h"

namespace valdrix::gui {

using valdrix::model::FormatDouble;
using valdrix::model::NumberRefusal;
using valdrix::model::ParseDouble;
using valdrix::model::ParseInt;
using valdrix::model::RangeRefusal;

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

namespace {

template <typename Number, typename Parse, typename Format>
void ExchangeNumber(CDataExchange* pDX, int id, Number& value, Parse parse, Format format,
                    bool whole) {
    if (pDX->Failed()) return;
    CWnd control = pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        control.SetWindowText(format(value));
        return;
    }
    const auto parsed = parse(control.GetWindowText());
    if (!parsed) {
        pDX->Fail(NumberRefusal(whole, control.GetWindowText()));
        return;
    }
    value = *parsed;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    ExchangeNumber(pDX, id, value, ParseDouble, FormatDouble, false);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    ExchangeNumber(
        pDX, id, value, ParseInt, [](int number) { return fmt::format("{}", number); }, true);
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

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minimum, double maximum) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate) return;
    if (value < minimum || value > maximum) {
        pDX->Fail(RangeRefusal(false, minimum, maximum));
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate) return;
    if (value < minimum || value > maximum) {
        pDX->Fail(RangeRefusal(true, minimum, maximum));
    }
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value) {
    if (pDX->Failed()) return;
    CComboBox box(pDX->PrepareCtrl(id).GetSafeHwnd());
    if (pDX->m_bSaveAndValidate) {
        value = box.GetWindowText();
    } else if (box.SetCurSel(box.FindStringExact(value)) == CB_ERR) {
        box.SetWindowText(value);
    }
}

void DDX_Radio(CDataExchange* pDX, const std::vector<int>& buttons, int& index) {
    if (pDX->Failed()) return;
    if (pDX->m_bSaveAndValidate) index = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        CButton button(pDX->PrepareCtrl(buttons[i]).GetSafeHwnd());
        if (pDX->m_bSaveAndValidate) {
            if (index < 0 && button.GetCheck() == BST_CHECKED) index = static_cast<int>(i);
        } else {
            button.SetCheck(static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED);
        }
    }
}

}  // namespace valdrix::gui
