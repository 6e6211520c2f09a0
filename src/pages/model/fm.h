#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Frequency modulation: state, internal modulating waveform and frequency, deviation.
struct FmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    std::string devUnit = "Hz";
    double deviation = 1000.0;  // in devUnit
    double modFreq = 1000.0;    // in freqUnit
};

CommandSequence FmSequence(const FmSettings& settings);
const PageModel<FmSettings>& FmPage();

}  // namespace valdrix::model
