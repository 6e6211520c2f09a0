#include "pages/model/pwm.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"
#include "res/resource_ids.h"

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
            F::Text(IDC_PWM_STATE, "state", &S::state, kOnOff),
            F::Text(IDC_PWM_WAVEFORM, "waveform", &S::waveform, kWaveforms),
            F::Text(IDC_PWM_FREQ_UNIT, "freq-unit", &S::freqUnit, kModulationUnits),
            F::WholeNumber(IDC_PWM_DUTY, "duty", &S::dutyCycle),
            F::Number(IDC_PWM_MOD_FREQ, "freq", &S::modFreq),
        },
        PwmSequence};
    return page;
}

}  // namespace valdrix::model
