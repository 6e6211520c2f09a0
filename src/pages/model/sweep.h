#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Frequency sweep: start, stop, time, trigger source, spacing, state.
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
const PageModel<SweepSettings>& SweepPage();

}  // namespace valdrix::model
