#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/command_page.h"

struct PmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    int deviation = 180;      // degrees
    double modFreq = 1000.0;  // in freqUnit
};

CommandSequence PmSequence(const PmSettings& settings);

// Phase modulation: state, internal modulating waveform and frequency, phase deviation.
class CPM : public CommandPage {
public:
    CPM();

    CComboBox m_cbWaveform;
    CComboBox m_cbState;
    CComboBox m_cbFreqUnit;
    int m_nDeviation = PmSettings{}.deviation;
    double m_dModFreq = PmSettings{}.modFreq;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
