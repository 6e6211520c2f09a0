#include "pages/burst.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence BurstSequence(const BurstSettings& s) {
    return {
        {fmt::sprintf("BURSt:STATe %s", s.state),                          {}, {200}},
        {fmt::sprintf("BURSt:INTernal:PERiod %f%s", s.period, s.periodUnit), {}, {200}},
        {fmt::sprintf("BURSt:NCYCles %d", s.cycles),                       {}, {200}},
        {fmt::sprintf("BURSt:PHASe %ddeg", s.phase),                       {}, {100}},
        {fmt::sprintf("TRIGger:SOURce %s", s.source),                      {}, {}},
    };
}

CBurst::CBurst() : TriggerPage(IDD_BURST) {}

void CBurst::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1053, m_cbState);
    DDX_Control(pDX, 1052, m_cbSource);
    DDX_Control(pDX, 1048, m_cbPeriodUnit);
    DDX_Text(pDX, 1049, m_dPeriod);
    DDX_Text(pDX, 1051, m_nPhase);
    DDX_Text(pDX, 1050, m_nCycles);
    DDV_MinMaxInt(pDX, m_nCycles, kMinBurstCycles, kMaxBurstCycles);
}

bool CBurst::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbPeriodUnit.SetCurSel(0);
    m_cbSource.SetCurSel(0);
    m_cbState.SetCurSel(0);
    return true;
}

CommandSequence CBurst::ComposeSequence() {
    return BurstSequence({m_cbState.GetWindowText(), m_cbSource.GetWindowText(),
                          m_cbPeriodUnit.GetWindowText(), m_dPeriod, m_nPhase, m_nCycles});
}
