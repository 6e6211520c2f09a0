#include "pages/model/pm.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence PmSequence(const PmSettings& s) {
    // clang-format off
    return {
        {FormatCommand("PM:STATe %s", {s.state}),                            {}, {500}},
        {FormatCommand("PM:INTernal:FREQuency %f%s", {s.modFreq, s.freqUnit}), {}, {200}},
        {FormatCommand("PM:DEViation %ddeg", {s.deviation}),                 {}, {100, 100}},
        {FormatCommand("PM:INTernal:FUNCtion %s", {s.waveform}),             {}, {}},
    };
    // clang-format on
}

const PageModel<PmSettings>& PmPage() {
    using F = Field<PmSettings>;
    using S = PmSettings;
    static const PageModel<PmSettings> page{
        "pm",
        "phase modulation",
        {
            F::Text("state", &S::state, kOnOff),
            F::Text("waveform", &S::waveform, kWaveforms),
            F::Text("freq-unit", &S::freqUnit, kModulationUnits),
            F::WholeNumber("deviation", &S::deviation),
            F::Number("freq", &S::modFreq),
        },
        PmSequence};
    return page;
}

}  // namespace valdrix::model
