#include "pages/fm.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence FmSequence(const FmSettings& s) {
    return {
        {fmt::sprintf("FM:STATe %s", s.state),                            {}, {300}},
        {fmt::sprintf("FM:INTernal:FREQuency %f%s", s.modFreq, s.freqUnit), {}, {100, 200}},
        {fmt::sprintf("FM:DEViation %f%s", s.deviation, s.devUnit),       {}, {100}},
        {fmt::sprintf("FM:INTernal:FUNCtion %s", s.waveform),             {}, {}},
    };
}

CFM::CFM() : CommandPage(IDD_FM) {}

void CFM::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1018, m_cbWaveform);
    DDX_Control(pDX, 1019, m_cbState);
    DDX_Control(pDX, 1017, m_cbFreqUnit);
    DDX_Control(pDX, 1015, m_cbDevUnit);
    DDX_Text(pDX, 1014, m_dDeviation);
    DDX_Text(pDX, 1016, m_dModFreq);
}

bool CFM::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbDevUnit.SetCurSel(2);
    m_cbFreqUnit.SetCurSel(1);
    m_cbWaveform.SetCurSel(0);
    m_cbState.SetCurSel(0);
    return true;
}

CommandSequence CFM::ComposeSequence() {
    return FmSequence({m_cbState.GetWindowText(), m_cbWaveform.GetWindowText(),
                       m_cbFreqUnit.GetWindowText(), m_cbDevUnit.GetWindowText(), m_dDeviation,
                       m_dModFreq});
}
