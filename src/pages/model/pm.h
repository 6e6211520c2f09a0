#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Phase modulation: state, internal modulating waveform and frequency, phase deviation.
struct PmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    int deviation = 180;      // degrees
    double modFreq = 1000.0;  // in freqUnit
};

CommandSequence PmSequence(const PmSettings& settings);
const PageModel<PmSettings>& PmPage();

}  // namespace valdrix::model
