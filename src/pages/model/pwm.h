#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// Pulse-width modulation: state, internal modulating waveform and frequency, duty cycle.
struct PwmSettings {
    std::string state = "ON";
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    int dutyCycle = 50;       // percent
    double modFreq = 1000.0;  // in freqUnit
};

CommandSequence PwmSequence(const PwmSettings& settings);
const PageModel<PwmSettings>& PwmPage();

}  // namespace valdrix::model
