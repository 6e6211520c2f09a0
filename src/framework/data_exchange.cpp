#include "framework/data_exchange.h"

#include <fmt/format.h>

#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/number_text.h"

CWnd CDataExchange::PrepareCtrl(int id) {
    m_lastControl = id;
    return CWnd(m_pDlgWnd->GetDlgItem(id));
}

void CDataExchange::Fail(const CString& message) {
    m_failed = true;
    AfxMessageBox(message);
    CWnd(m_pDlgWnd->GetDlgItem(m_lastControl)).SetFocus();
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.GetSafeHwnd() == nullptr) control.Attach(pDX->m_pDlgWnd->GetDlgItem(id));
}

namespace {

template <typename Number, typename Parse, typename Format>
void ExchangeNumber(CDataExchange* pDX, int id, Number& value, Parse parse, Format format,
                    const char* message) {
    if (pDX->Failed()) return;
    CWnd control = pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        control.SetWindowText(format(value));
        return;
    }
    const auto parsed = parse(control.GetWindowText());
    if (!parsed) {
        pDX->Fail(message);
        return;
    }
    value = *parsed;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    ExchangeNumber(pDX, id, value, ParseDouble, FormatDouble, "Please enter a number.");
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    ExchangeNumber(pDX, id, value, ParseInt, [](int number) { return fmt::format("{}", number); },
                   "Please enter an integer.");
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
        pDX->Fail(fmt::format("Please enter a number between {} and {}.", FormatDouble(minimum),
                              FormatDouble(maximum)));
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate) return;
    if (value < minimum || value > maximum) {
        pDX->Fail(fmt::format("Please enter an integer between {} and {}.", minimum, maximum));
    }
}
