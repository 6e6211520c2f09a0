#pragma once

#include <string>

#include "framework/combo_box.h"
#include "pages/trigger_page.h"

struct SweepSettings {
    std::string state = "ON";
    std::string startUnit = "Hz";
    std::string stopUnit = "Hz";
    std::string timeUnit = "s";
    std::string source = "IMMediate";
    std::string mode = "LINear";
    double startFreq = 100.0;  // in startUnit
    double stopFreq = 1000.0;  // in stopUnit
    double sweepTime = 3.0;    // in timeUnit
};

CommandSequence SweepSequence(const SweepSettings& settings);

// Frequency sweep: start, stop, time, trigger source, spacing, state; and one trigger.
class CSweep : public TriggerPage {
public:
    CSweep();

    CComboBox m_cbSweepMode;
    CComboBox m_cbSource;
    CComboBox m_cbTimeUnit;
    CComboBox m_cbStartUnit;
    CComboBox m_cbStopUnit;
    CComboBox m_cbState;
    double m_dStartFreq = SweepSettings{}.startFreq;
    double m_dStopFreq = SweepSettings{}.stopFreq;
    double m_dSweepTime = SweepSettings{}.sweepTime;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
};
