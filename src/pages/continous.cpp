#include "pages/continous.h"

#include <QAbstractButton>

#include "framework/button.h"
#include "framework/data_exchange.h"
#include "pages/model/continuous.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

using namespace valdrix::model;

void CContinous::MessageMap() {
    connect(qobject_cast<QAbstractButton*>(GetDlgItem(IDC_CONT_RADIO_DIRECT)),
            &QAbstractButton::clicked, this, &CContinous::OnRadioDirect);
    connect(qobject_cast<QAbstractButton*>(GetDlgItem(IDC_CONT_RADIO_OUTPUT)),
            &QAbstractButton::clicked, this, &CContinous::OnRadioOutput);
}

void CContinous::DoDataExchange(CDataExchange* pDX) {
    FieldPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CONT_OUTPUT_CMD, m_strOutputCmd);
    DDX_Text(pDX, IDC_CONT_DIRECT_CMD, m_strDirectCmd);
}

bool CContinous::OnInitDialog() {
    FieldPage::OnInitDialog();
    ComposePreview();
    return true;
}

// Both boxes show what the fields would send; nothing reaches the instrument. A field the page
// would refuse is named in both, so the preview never shows lines that would not be sent.
void CContinous::ComposePreview() {
    const FieldTexts shown = ShownTexts();
    if (const auto refusal = FirstRefusal(Model(), shown)) {
        m_strOutputCmd = m_strDirectCmd = "Not sent as it stands: " + RefusalText(*refusal);
    } else {
        m_strOutputCmd = PreviewOf(shown, kOutputMode, LineEnds::BetweenLines);
        m_strCommand = PreviewOf(shown, kDirectMode, LineEnds::AfterEachLine);
        m_strDirectCmd = m_strCommand;
    }
    CWnd(GetDlgItem(IDC_CONT_OUTPUT_CMD)).SetWindowText(m_strOutputCmd);
    CWnd(GetDlgItem(IDC_CONT_DIRECT_CMD)).SetWindowText(m_strDirectCmd);
}

std::string CContinous::PreviewOf(const FieldTexts& shown, const char* mode, LineEnds ends) const {
    FieldTexts texts = shown;
    for (auto& [option, text] : texts) {
        if (option == kModeOption) text = mode;
    }
    return JoinLines(LinesOf(Model().sequence(texts)), ends);
}

void CContinous::OnTextsShown() {
    ComposePreview();
}

// The buttons are each a group of their own, so the page keeps one of them checked.
void CContinous::CheckMode(const char* mode) {
    CButton direct(GetDlgItem(IDC_CONT_RADIO_DIRECT));
    CButton output(GetDlgItem(IDC_CONT_RADIO_OUTPUT));
    output.SetCheck(mode == std::string(kOutputMode) ? BST_CHECKED : BST_UNCHECKED);
    direct.SetCheck(mode == std::string(kDirectMode) ? BST_CHECKED : BST_UNCHECKED);
}

void CContinous::OnRadioDirect() {
    CheckMode(kDirectMode);
}

void CContinous::OnRadioOutput() {
    CheckMode(kOutputMode);
}

// The box of the mode used shows the send; the other keeps its text.
void CContinous::OnSent() {
    (*FindText(TakenTexts(), kModeOption) == kOutputMode ? m_strOutputCmd : m_strDirectCmd) =
        m_strCommand;
    UpdateData(false);
}

}  // namespace valdrix::gui
