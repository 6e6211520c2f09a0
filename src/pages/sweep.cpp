#include "pages/sweep.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence SweepSequence(const SweepSettings& s) {
    return {
        {fmt::sprintf("SWEep:STATe %s", s.state),                       {}, {500}},
        {fmt::sprintf("FREQuency:STARt %f%s", s.startFreq, s.startUnit), {}, {200}},
        {fmt::sprintf("FREQuency:STOP %f%s", s.stopFreq, s.stopUnit),    {}, {200}},
        {fmt::sprintf("SWEep:TIME %f%s", s.sweepTime, s.timeUnit),       {}, {100}},
        {fmt::sprintf("TRIGger:SOURce %s", s.source),                   {}, {100}},
        {fmt::sprintf("SWEep:SPACing %s", s.mode),                      {}, {}},
    };
}

CSweep::CSweep() : TriggerPage(IDD_SWEEP) {}

void CSweep::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1046, m_cbSweepMode);
    DDX_Control(pDX, 1042, m_cbSource);
    DDX_Control(pDX, 1041, m_cbTimeUnit);
    DDX_Control(pDX, 1045, m_cbStartUnit);
    DDX_Control(pDX, 1039, m_cbStopUnit);
    DDX_Control(pDX, 1043, m_cbState);
    DDX_Text(pDX, 1044, m_dStartFreq);
    DDX_Text(pDX, 1038, m_dStopFreq);
    DDX_Text(pDX, 1040, m_dSweepTime);
}

bool CSweep::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbStartUnit.SetCurSel(2);
    m_cbStopUnit.SetCurSel(2);
    m_cbTimeUnit.SetCurSel(0);
    m_cbSource.SetCurSel(0);
    m_cbState.SetCurSel(0);
    m_cbSweepMode.SetCurSel(0);
    return true;
}

CommandSequence CSweep::ComposeSequence() {
    return SweepSequence({m_cbState.GetWindowText(), m_cbStartUnit.GetWindowText(),
                          m_cbStopUnit.GetWindowText(), m_cbTimeUnit.GetWindowText(),
                          m_cbSource.GetWindowText(), m_cbSweepMode.GetWindowText(), m_dStartFreq,
                          m_dStopFreq, m_dSweepTime});
}
