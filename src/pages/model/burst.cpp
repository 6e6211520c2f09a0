#include "pages/model/burst.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

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
            F::Text("state", &S::state, kOnOff),
            F::Text("source", &S::source, kTriggerSources),
            F::Text("period-unit", &S::periodUnit, kTimeUnits),
            F::Number("period", &S::period),
            F::WholeNumber("phase", &S::phase),
            F::WholeNumber("cycles", &S::cycles, kBurstCycles),
        },
        BurstSequence};
    return page;
}

}  // namespace valdrix::model
