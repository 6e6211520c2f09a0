#include "pages/model/pm.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"
#include "res/resource_ids.h"

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
            F::Text(IDC_PM_STATE, "state", &S::state, kOnOff),
            F::Text(IDC_PM_WAVEFORM, "waveform", &S::waveform, kWaveforms),
            F::Text(IDC_PM_FREQ_UNIT, "freq-unit", &S::freqUnit, kModulationUnits),
            F::WholeNumber(IDC_PM_DEVIATION, "deviation", &S::deviation),
            F::Number(IDC_PM_MOD_FREQ, "freq", &S::modFreq),
        },
        PmSequence};
    return page;
}

}  // namespace valdrix::model
