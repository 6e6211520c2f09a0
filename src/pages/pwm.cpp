#include "pages/pwm.h"

#include <fmt/printf.h>

#include "framework/data_exchange.h"
#include "res/resource_ids.h"

CommandSequence PwmSequence(const PwmSettings& s) {
    return {
        {fmt::sprintf("PWM:STATe %s", s.state),                            {}, {100, 200}},
        {fmt::sprintf("PWM:INTernal:FREQuency %f%s", s.modFreq, s.freqUnit), {}, {200}},
        {fmt::sprintf("PWM:DCYCle %d%%", s.dutyCycle),                     {}, {100}},
        {fmt::sprintf("PWM:INTernal:FUNCtion %s", s.waveform),             {}, {}},
    };
}

CPWM::CPWM() : CommandPage(IDD_PWM) {}

void CPWM::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1034, m_cbWaveform);
    DDX_Control(pDX, 1035, m_cbState);
    DDX_Control(pDX, 1033, m_cbFreqUnit);
    DDX_Text(pDX, 1031, m_nDutyCycle);
    DDX_Text(pDX, 1032, m_dModFreq);
}

bool CPWM::OnInitDialog() {
    CommandPage::OnInitDialog();
    m_cbFreqUnit.SetCurSel(1);
    m_cbWaveform.SetCurSel(0);
    m_cbState.SetCurSel(0);
    return true;
}

CommandSequence CPWM::ComposeSequence() {
    return PwmSequence({m_cbState.GetWindowText(), m_cbWaveform.GetWindowText(),
                        m_cbFreqUnit.GetWindowText(), m_nDutyCycle, m_dModFreq});
}
