#include "pages/model/fm.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence FmSequence(const FmSettings& s) {
    // clang-format off
    return {
        {FormatCommand("FM:STATe %s", {s.state}),                            {}, {300}},
        {FormatCommand("FM:INTernal:FREQuency %f%s", {s.modFreq, s.freqUnit}), {}, {100, 200}},
        {FormatCommand("FM:DEViation %f%s", {s.deviation, s.devUnit}),       {}, {100}},
        {FormatCommand("FM:INTernal:FUNCtion %s", {s.waveform}),             {}, {}},
    };
    // clang-format on
}

const PageModel<FmSettings>& FmPage() {
    using F = Field<FmSettings>;
    using S = FmSettings;
    static const PageModel<FmSettings> page{
        "fm",
        "frequency modulation",
        {
            F::Text("state", &S::state, kOnOff),
            F::Text("waveform", &S::waveform, kWaveforms),
            F::Text("freq-unit", &S::freqUnit, kModulationUnits),
            F::Text("dev-unit", &S::devUnit, kFrequencyUnits),
            F::Number("deviation", &S::deviation),
            F::Number("freq", &S::modFreq),
        },
        FmSequence};
    return page;
}

}  // namespace valdrix::model
