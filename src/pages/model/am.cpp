#include "pages/model/am.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"
#include "res/resource_ids.h"

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
            F::Text(IDC_AM_STATE, "state", &S::state, kOnOff),
            F::Text(IDC_AM_WAVEFORM, "waveform", &S::waveform, kWaveforms),
            F::Text(IDC_AM_FREQ_UNIT, "freq-unit", &S::freqUnit, kModulationUnits),
            F::WholeNumber(IDC_AM_DEPTH, "depth", &S::depth),
            F::Number(IDC_AM_MOD_FREQ, "freq", &S::modFreq),
        },
        AmSequence};
    return page;
}

}  // namespace valdrix::model
