#include "pages/model/sweep.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"
#include "res/resource_ids.h"

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
            F::Text(IDC_SWEEP_MODE, "mode", &S::mode, kSweepSpacings),
            F::Text(IDC_SWEEP_SOURCE, "source", &S::source, kTriggerSources),
            F::Text(IDC_SWEEP_TIME_UNIT, "time-unit", &S::timeUnit, kTimeUnits),
            F::Text(IDC_SWEEP_START_UNIT, "start-unit", &S::startUnit, kFrequencyUnits),
            F::Text(IDC_SWEEP_STOP_UNIT, "stop-unit", &S::stopUnit, kFrequencyUnits),
            F::Text(IDC_SWEEP_STATE, "state", &S::state, kOnOff),
            F::Number(IDC_SWEEP_START, "start", &S::startFreq),
            F::Number(IDC_SWEEP_STOP, "stop", &S::stopFreq),
            F::Number(IDC_SWEEP_TIME, "time", &S::sweepTime),
        },
        SweepSequence};
    return page;
}

}  // namespace valdrix::model
