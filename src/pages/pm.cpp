#include "pages/pm.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence PmSequence(const PmSettings& s) {
    return {
        {fmt::sprintf("PM:STATe %s", s.state),                            {}, {500}},
        {fmt::sprintf("PM:INTernal:FREQuency %f%s", s.modFreq, s.freqUnit), {}, {200}},
        {fmt::sprintf("PM:DEViation %ddeg", s.deviation),                 {}, {100, 100}},
        {fmt::sprintf("PM:INTernal:FUNCtion %s", s.waveform),             {}, {}},
    };
}

CPM::CPM() : CommandPage(IDD_PM) {}

void CPM::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1028, m_cbWaveform);
    DDX_Control(pDX, 1029, m_cbState);
    DDX_Control(pDX, 1027, m_cbFreqUnit);
    DDX_Text(pDX, 1030, m_nDeviation);
    DDX_Text(pDX, 1026, m_dModFreq);
}

bool CPM::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbFreqUnit.SetCurSel(1);
    m_cbWaveform.SetCurSel(0);
    m_cbState.SetCurSel(0);
    return true;
}

CommandSequence CPM::ComposeSequence() {
    return PmSequence({m_cbState.GetWindowText(), m_cbWaveform.GetWindowText(),
                       m_cbFreqUnit.GetWindowText(), m_nDeviation, m_dModFreq});
}
