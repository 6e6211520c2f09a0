#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/command_page.h"

// What the AM page sends, apart from its widgets.
struct AmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    int depth = 100;         // percent
    double modFreq = 1000.0; // in freqUnit
};

CommandSequence AmSequence(const AmSettings& settings);

// Amplitude modulation: state, internal modulating waveform and frequency, depth.
class CAM : public CommandPage {
public:
    CAM();

    CComboBox m_cbState;
    CComboBox m_cbWaveform;
    CComboBox m_cbFreqUnit;
    int m_nDepth = AmSettings{}.depth;
    double m_dModFreq = AmSettings{}.modFreq;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
