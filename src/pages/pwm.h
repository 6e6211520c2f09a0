#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/command_page.h"

struct PwmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    int dutyCycle = 50;       // percent
    double modFreq = 1000.0;  // in freqUnit
};

CommandSequence PwmSequence(const PwmSettings& settings);

// Pulse-width modulation: state, internal modulating waveform and frequency, duty cycle.
class CPWM : public CommandPage {
public:
    CPWM();

    CComboBox m_cbWaveform;
    CComboBox m_cbState;
    CComboBox m_cbFreqUnit;
    int m_nDutyCycle = PwmSettings{}.dutyCycle;
    double m_dModFreq = PwmSettings{}.modFreq;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
