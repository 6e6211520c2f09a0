#include "pages/model/sweep.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence SweepSequence(const SweepSettings& s) {
    // clang-format off
    return {
        {FormatCommand("SWEep:STATe %s", {s.state}),                         {}, {500}},
        {FormatCommand("FREQuency:STARt %f%s", {s.startFreq, s.startUnit}),  {}, {200}},
        {FormatCommand("FREQuency:STOP %f%s", {s.stopFreq, s.stopUnit}),     {}, {200}},
        {FormatCommand("SWEep:TIME %f%s", {s.sweepTime, s.timeUnit}),        {}, {100}},
        {FormatCommand("TRIGger:SOURce %s", {s.source}),                     {}, {100}},
        {FormatCommand("SWEep:SPACing %s", {s.mode}),                        {}, {}},
    };
    // clang-format on
}

const PageModel<SweepSettings>& SweepPage() {
    using F = Field<SweepSettings>;
    using S = SweepSettings;
    static const PageModel<SweepSettings> page{
        "sweep",
        "frequency sweep",
        {
            F::Text("mode", &S::mode, kSweepSpacings),
            F::Text("source", &S::source, kTriggerSources),
            F::Text("time-unit", &S::timeUnit, kTimeUnits),
            F::Text("start-unit", &S::startUnit, kFrequencyUnits),
            F::Text("stop-unit", &S::stopUnit, kFrequencyUnits),
            F::Text("state", &S::state, kOnOff),
            F::Number("start", &S::startFreq),
            F::Number("stop", &S::stopFreq),
            F::Number("time", &S::sweepTime),
        },
        SweepSequence};
    return page;
}

}  // namespace valdrix::model
