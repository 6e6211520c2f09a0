#include "pages/fsk.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence FskSequence(const FskSettings& s) {
    // The rate goes out whatever the source: the instrument keeps it for the internal source.
    return {
        {fmt::sprintf("FSKey:STATe %s", s.state),                   {}, {300}},
        {fmt::sprintf("FSKey:INTernal:RATE %f%s", s.rate, s.rateUnit), {}, {200, 100}},
        {fmt::sprintf("FSKey:FREQuency %f%s", s.freq, s.freqUnit),    {}, {100}},
        {fmt::sprintf("FSKey:SOURce %s", s.source),                 {}, {}},
    };
}

CFSK::CFSK() : CommandPage(IDD_FSK) {}

void CFSK::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1041, m_cbState);
    DDX_Control(pDX, 1040, m_cbSource);
    DDX_Control(pDX, 1039, m_cbRateUnit);
    DDX_Control(pDX, 1037, m_cbFreqUnit);
    DDX_Text(pDX, 1036, m_dFreq);
    DDX_Text(pDX, 1038, m_dRate);
}

bool CFSK::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbFreqUnit.SetCurSel(2);
    m_cbRateUnit.SetCurSel(1);
    m_cbSource.SetCurSel(0);
    m_cbState.SetCurSel(0);
    return true;
}

CommandSequence CFSK::ComposeSequence() {
    return FskSequence({m_cbState.GetWindowText(), m_cbSource.GetWindowText(),
                        m_cbRateUnit.GetWindowText(), m_cbFreqUnit.GetWindowText(), m_dFreq,
                        m_dRate});
}
