#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/trigger_page.h"

// The instrument bursts from 1 to 9 cycles.
inline constexpr int kMinBurstCycles = 1;
inline constexpr int kMaxBurstCycles = 9;

struct BurstSettings {
    std::string state = "ON";
    std::string source = "IMMediate";
    std::string periodUnit = "s";
    double period = 0.1;  // in periodUnit
    int phase = 0;        // degrees
    int cycles = 3;
};

CommandSequence BurstSequence(const BurstSettings& settings);

// Burst: state, internal period, cycles per burst, start phase, trigger source; and one trigger.
class CBurst : public TriggerPage {
public:
    CBurst();

    CComboBox m_cbState;
    CComboBox m_cbSource;
    CComboBox m_cbPeriodUnit;
    double m_dPeriod = BurstSettings{}.period;
    int m_nPhase = BurstSettings{}.phase;
    int m_nCycles = BurstSettings{}.cycles;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
