#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Amplitude modulation: state, internal modulating waveform and frequency, depth.
struct AmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    int depth = 100;          // percent
    double modFreq = 1000.0;  // in freqUnit
};

CommandSequence AmSequence(const AmSettings& settings);
const PageModel<AmSettings>& AmPage();

}  // namespace valdrix::model
