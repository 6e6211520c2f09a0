#include "pages/model/pwm.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence PwmSequence(const PwmSettings& s) {
    // clang-format off
    return {
        {FormatCommand("PWM:STATe %s", {s.state}),                            {}, {100, 200}},
        {FormatCommand("PWM:INTernal:FREQuency %f%s", {s.modFreq, s.freqUnit}), {}, {200}},
        {FormatCommand("PWM:DCYCle %d%%", {s.dutyCycle}),                     {}, {100}},
        {FormatCommand("PWM:INTernal:FUNCtion %s", {s.waveform}),             {}, {}},
    };
    // clang-format on
}

const PageModel<PwmSettings>& PwmPage() {
    using F = Field<PwmSettings>;
    using S = PwmSettings;
    static const PageModel<PwmSettings> page{
        "pwm",
        "pulse-width modulation",
        {
            F::Text("state", &S::state, kOnOff),
            F::Text("waveform", &S::waveform, kWaveforms),
            F::Text("freq-unit", &S::freqUnit, kModulationUnits),
            F::WholeNumber("duty", &S::dutyCycle),
            F::Number("freq", &S::modFreq),
        },
        PwmSequence};
    return page;
}

}  // namespace valdrix::model
