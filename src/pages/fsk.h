#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/command_page.h"

struct FskSettings {
    std::string state = "ON";
    std::string source = "INTernal";
    std::string rateUnit = "Hz";
    std::string freqUnit = "Hz";
    double freq = 4000.0;  // in freqUnit
    double rate = 1000.0;  // in rateUnit
};

CommandSequence FskSequence(const FskSettings& settings);

// Frequency-shift keying: state, hop frequency, internal rate, keying source.
class CFSK : public CommandPage {
public:
    CFSK();

    CComboBox m_cbState;
    CComboBox m_cbSource;
    CComboBox m_cbRateUnit;
    CComboBox m_cbFreqUnit;
    double m_dFreq = FskSettings{}.freq;
    double m_dRate = FskSettings{}.rate;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
