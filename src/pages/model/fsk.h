#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Frequency-shift keying: state, hop frequency, internal rate, keying source.
struct FskSettings {
    std::string state = "ON";
    std::string source = "INTernal";
    std::string rateUnit = "Hz";
    std::string freqUnit = "Hz";
    double freq = 4000.0;  // in freqUnit
    double rate = 1000.0;  // in rateUnit
};

CommandSequence FskSequence(const FskSettings& settings);
const PageModel<FskSettings>& FskPage();

}  // namespace valdrix::model
