#include "pages/am.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence AmSequence(const AmSettings& s) {
    // The instrument needs these pauses after each line to take it.
    return {
        {fmt::sprintf("AM:STATe %s", s.state),                            {}, {300}},
        {fmt::sprintf("AM:INTernal:FREQuency %f%s", s.modFreq, s.freqUnit), {}, {200, 100}},
        {fmt::sprintf("AM:DEPTh %d%%", s.depth),                          {}, {100}},
        {fmt::sprintf("AM:INTernal:FUNCtion %s", s.waveform),             {}, {}},
    };
}

CAM::CAM() : CommandPage(IDD_AM) {}

void CAM::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1024, m_cbState);
    DDX_Control(pDX, 1023, m_cbWaveform);
    DDX_Control(pDX, 1022, m_cbFreqUnit);
    DDX_Text(pDX, 1020, m_nDepth);
    DDX_Text(pDX, 1021, m_dModFreq);
}

bool CAM::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbFreqUnit.SetCurSel(1);
    m_cbWaveform.SetCurSel(0);
    m_cbState.SetCurSel(0);
    return true;
}

CommandSequence CAM::ComposeSequence() {
    return AmSequence({m_cbState.GetWindowText(), m_cbWaveform.GetWindowText(),
                       m_cbFreqUnit.GetWindowText(), m_nDepth, m_dModFreq});
}
