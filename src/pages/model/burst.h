#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Burst: state, internal period, cycles per burst, start phase, trigger source.
struct BurstSettings {
    std::string state = "ON";
    std::string source = "IMMediate";
    std::string periodUnit = "s";
    double period = 0.1;  // in periodUnit
    int phase = 0;        // degrees
    int cycles = 3;
};

// The instrument bursts from 1 to 9 cycles.
inline constexpr Range kBurstCycles{1, 9};

CommandSequence BurstSequence(const BurstSettings& settings);
const PageModel<BurstSettings>& BurstPage();

}  // namespace valdrix::model
