#include "pages/model/burst.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"
#include "res/resource_ids.h"

namespace valdrix::model {

CommandSequence BurstSequence(const BurstSettings& s) {
    // clang-format off
    return {
        {FormatCommand("BURSt:STATe %s", {s.state}),                           {}, {200}},
        {FormatCommand("BURSt:INTernal:PERiod %f%s", {s.period, s.periodUnit}), {}, {200}},
        {FormatCommand("BURSt:NCYCles %d", {s.cycles}),                        {}, {200}},
        {FormatCommand("BURSt:PHASe %ddeg", {s.phase}),                        {}, {100}},
        {FormatCommand("TRIGger:SOURce %s", {s.source}),                       {}, {}},
    };
    // clang-format on
}

const PageModel<BurstSettings>& BurstPage() {
    using F = Field<BurstSettings>;
    using S = BurstSettings;
    static const PageModel<BurstSettings> page{
        "burst",
        "burst",
        {
            F::Text(IDC_BURST_STATE, "state", &S::state, kOnOff),
            F::Text(IDC_BURST_SOURCE, "source", &S::source, kTriggerSources),
            F::Text(IDC_BURST_PERIOD_UNIT, "period-unit", &S::periodUnit, kTimeUnits),
            F::Number(IDC_BURST_PERIOD, "period", &S::period),
            F::WholeNumber(IDC_BURST_PHASE, "phase", &S::phase),
            F::WholeNumber(IDC_BURST_CYCLES, "cycles", &S::cycles, kBurstCycles),
        },
        BurstSequence};
    return page;
}

}  // namespace valdrix::model
