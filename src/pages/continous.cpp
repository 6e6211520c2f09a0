#include "pages/continous.h"

#include <QAbstractButton>
#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

namespace {

std::vector<std::string> LinesOf(const CommandSequence& sequence) {
    std::vector<std::string> lines;
    for (const CommandStep& step : sequence) lines.push_back(step.line);
    return lines;
}

}  // namespace

CommandSequence ContinuousOutputSequence(const ContinuousSettings& s) {
    // Pauses come before each line: the instrument needs them to settle the previous setting.
    CommandSequence sequence{{fmt::sprintf("FUNCtion %s", s.waveform), {}, {}}};
    if (s.waveform == "SQUare") {
        sequence.push_back({fmt::sprintf("SOURce:FUNCtion:SQUare:DCYCle %d%%", s.duty), {400}, {}});
    }
    if (s.waveform == "RAMP") {
        sequence.push_back({fmt::sprintf("SOURce:FUNCtion:RAMP:SYMMetry %d%%", s.duty), {400}, {500}});
    }
    const CommandSequence settings = {
        {fmt::sprintf("FREQuency %f%s", s.freq, s.freqUnit),              {500}, {}},
        {fmt::sprintf("VOLTage %f%s", s.amplitude, s.ampUnit),            {100}, {}},
        {fmt::sprintf("VOLTage:OFFSet %f%s", s.offset, s.offsetUnit),     {100}, {}},
        {fmt::sprintf("VOLTage:ATTenuation %s", s.attenuation),           {300}, {}},
        {fmt::sprintf("OUTPut:POLarity %s", s.polarity),                  {100}, {}},
        {fmt::sprintf("OUTPut %s", s.output),                             {100}, {}},
    };
    sequence.insert(sequence.end(), settings.begin(), settings.end());
    return sequence;
}

CommandSequence ContinuousDirectSequence(const ContinuousSettings& s) {
    return {{fmt::sprintf("Source:Apply:%s %f%s, %f%s, %f%s", s.waveform, s.freq, s.freqUnit,
                          s.amplitude, s.ampUnit, s.offset, s.offsetUnit),
             {}, {}}};
}

CContinous::CContinous() : CommandPage(IDD_CONTINOUS) {}

void CContinous::MessageMap() {
    connect(qobject_cast<QAbstractButton*>(GetDlgItem(1055)), &QAbstractButton::clicked, this,
            &CContinous::OnRadioDirect);
    connect(qobject_cast<QAbstractButton*>(GetDlgItem(1056)), &QAbstractButton::clicked, this,
            &CContinous::OnRadioOutput);
}

void CContinous::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1055, m_radioDirect);
    DDX_Control(pDX, 1056, m_radioOutput);
    DDX_Control(pDX, 1014, m_cbOutput);
    DDX_Control(pDX, 1009, m_cbWaveform);
    DDX_Control(pDX, 1013, m_cbAttenuation);
    DDX_Control(pDX, 1012, m_cbPolarity);
    DDX_Control(pDX, 1011, m_cbOffsetUnit);
    DDX_Control(pDX, 1010, m_cbAmpUnit);
    DDX_Control(pDX, 1008, m_cbFreqUnit);
    DDX_Text(pDX, 1002, m_dFreq);
    DDV_MinMaxDouble(pDX, m_dFreq, kMinContinuousFreq, kMaxContinuousFreq);
    DDX_Text(pDX, 1004, m_dOffset);
    DDX_Text(pDX, 1003, m_dAmplitude);
    DDX_Text(pDX, 1005, m_nDuty);
    DDX_Text(pDX, 1054, m_strOutputCmd);
    DDX_Text(pDX, 1057, m_strDirectCmd);
}

bool CContinous::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbFreqUnit.SetCurSel(2);
    m_cbAmpUnit.SetCurSel(0);
    m_cbAttenuation.SetCurSel(0);
    m_cbOffsetUnit.SetCurSel(0);
    m_cbPolarity.SetCurSel(0);
    m_cbWaveform.SetCurSel(0);
    m_cbOutput.SetCurSel(0);
    m_radioOutput.SetCheck(BST_UNCHECKED);
    m_radioDirect.SetCheck(BST_CHECKED);
    ComposePreview();
    return true;
}

// Both boxes show what the defaults would send; nothing reaches the instrument.
void CContinous::ComposePreview() {
    UpdateData(true);
    const ContinuousSettings settings = ReadSettings();
    m_strOutputCmd = JoinLines(LinesOf(ContinuousOutputSequence(settings)), LineEnds::BetweenLines);
    m_strCommand = JoinLines(LinesOf(ContinuousDirectSequence(settings)), LineEnds::AfterEachLine);
    m_strDirectCmd = m_strCommand;
    UpdateData(false);
}

void CContinous::OnRadioDirect() {
    m_radioOutput.SetCheck(BST_UNCHECKED);
    m_radioDirect.SetCheck(BST_CHECKED);
}

void CContinous::OnRadioOutput() {
    m_radioOutput.SetCheck(BST_CHECKED);
    m_radioDirect.SetCheck(BST_UNCHECKED);
}

ContinuousSettings CContinous::ReadSettings() const {
    return {m_cbWaveform.GetWindowText(),   m_cbFreqUnit.GetWindowText(),
            m_cbAmpUnit.GetWindowText(),    m_cbOffsetUnit.GetWindowText(),
            m_cbAttenuation.GetWindowText(), m_cbPolarity.GetWindowText(),
            m_cbOutput.GetWindowText(),     m_dFreq,
            m_dAmplitude,                   m_dOffset,
            m_nDuty};
}

CommandSequence CContinous::ComposeSequence() {
    const ContinuousSettings settings = ReadSettings();
    CommandSequence sequence;
    if (m_radioOutput.GetCheck() == BST_CHECKED) sequence = ContinuousOutputSequence(settings);
    if (m_radioDirect.GetCheck() == BST_CHECKED) {
        const CommandSequence direct = ContinuousDirectSequence(settings);
        sequence.insert(sequence.end(), direct.begin(), direct.end());
    }
    return sequence;
}

// The box of the mode used shows the send; the other keeps its text.
void CContinous::OnSent() {
    if (m_radioOutput.GetCheck() == BST_CHECKED) m_strOutputCmd = m_strCommand;
    if (m_radioDirect.GetCheck() == BST_CHECKED) m_strDirectCmd = m_strCommand;
    UpdateData(false);
}
