#pragma once

#include "pages/model/field.h"

namespace valdrix::model {

// The lists the pages' combo boxes offer, in the order the operator sees them.
inline const Choices kWaveforms = {"SINusoid", "SQUare", "RAMP",  "NOISe", "PPULS", "NPULS",
                                   "STAIR",    "HSINE",  "LSINE", "REXP",  "RLOG",  "TANG",
                                   "SINC",     "ROUND",  "CARD",  "QUAKE"};
inline const Choices kOnOff = {"ON", "OFF"};
inline const Choices kFrequencyUnits = {"MHz", "kHz", "Hz", "mHz"};
inline const Choices kModulationUnits = {"kHz", "Hz", "mHz"};
inline const Choices kTimeUnits = {"s", "ms"};
inline const Choices kTriggerSources = {"IMMediate", "EXTernal"};
inline const Choices kFskSources = {"INTernal", "EXTernal"};
inline const Choices kSweepSpacings = {"LINear", "LOGarithmic"};
// The Continuous page writes "KHz" where the other pages write "kHz".
inline const Choices kContinuousFreqUnits = {"MHz", "KHz", "Hz", "mHz"};
inline const Choices kAmplitudeUnits = {"Vpp", "mVpp"};
inline const Choices kOffsetUnits = {"Vdc", "mVdc"};
inline const Choices kPolarities = {"NORMal", "INVerted"};
inline const Choices kAttenuations = {"AUTO", "0dB", "20dB", "40dB", "60dB"};

}  // namespace valdrix::model
