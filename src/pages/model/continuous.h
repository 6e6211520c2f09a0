#pragma once

#include <string>

#include "pages/model/page_model.h"

namespace valdrix::model {

// How the Continuous page configures the output: one combined line, or one command a setting.
// The option of the radio field that chooses one of them.
inline constexpr char kModeOption[] = "mode";
inline constexpr char kDirectMode[] = "direct";
inline constexpr char kOutputMode[] = "output";

struct ContinuousSettings {
    std::string mode = kDirectMode;
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    std::string ampUnit = "Vpp";
    std::string offsetUnit = "Vdc";
    std::string attenuation = "AUTO";
    std::string polarity = "NORMal";
    std::string output = "ON";
    double freq = 1000.0;
    double amplitude = 1.0;
    double offset = 0.0;
    int duty = 50;  // percent: duty cycle of SQUare, symmetry of RAMP
};

// The instrument's output frequency range, in the unit chosen.
inline constexpr Range kContinuousFreq{0.0, 2000000.0};

// One command per setting, paced; the duty or symmetry only for exactly SQUare or RAMP.
CommandSequence ContinuousOutputSequence(const ContinuousSettings& settings);
// The one combined line: waveform, frequency, amplitude and offset, with no pause.
CommandSequence ContinuousDirectSequence(const ContinuousSettings& settings);
// The sequence of the mode chosen.
CommandSequence ContinuousSequence(const ContinuousSettings& settings);
const PageModel<ContinuousSettings>& ContinuousPage();

}  // namespace valdrix::model
