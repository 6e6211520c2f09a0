#include "pages/model/am.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence AmSequence(const AmSettings& s) {
    // clang-format off
    // The instrument needs these pauses after each line to take it.
    return {
        {FormatCommand("AM:STATe %s", {s.state}),                            {}, {300}},
        {FormatCommand("AM:INTernal:FREQuency %f%s", {s.modFreq, s.freqUnit}), {}, {200, 100}},
        {FormatCommand("AM:DEPTh %d%%", {s.depth}),                          {}, {100}},
        {FormatCommand("AM:INTernal:FUNCtion %s", {s.waveform}),             {}, {}},
    };
    // clang-format on
}

const PageModel<AmSettings>& AmPage() {
    using F = Field<AmSettings>;
    using S = AmSettings;
    static const PageModel<AmSettings> page{
        "am",
        "amplitude modulation",
        {
            F::Text("state", &S::state, kOnOff),
            F::Text("waveform", &S::waveform, kWaveforms),
            F::Text("freq-unit", &S::freqUnit, kModulationUnits),
            F::WholeNumber("depth", &S::depth),
            F::Number("freq", &S::modFreq),
        },
        AmSequence};
    return page;
}

}  // namespace valdrix::model
