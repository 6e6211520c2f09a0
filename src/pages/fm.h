#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/command_page.h"

struct FmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    std::string devUnit = "Hz";
    double deviation = 1000.0;  // in devUnit
    double modFreq = 1000.0;    // in freqUnit
};

CommandSequence FmSequence(const FmSettings& settings);

// Frequency modulation: state, internal modulating waveform and frequency, deviation.
class CFM : public CommandPage {
public:
    CFM();

    CComboBox m_cbWaveform;
    CComboBox m_cbState;
    CComboBox m_cbFreqUnit;
    CComboBox m_cbDevUnit;
    double m_dDeviation = FmSettings{}.deviation;
    double m_dModFreq = FmSettings{}.modFreq;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
