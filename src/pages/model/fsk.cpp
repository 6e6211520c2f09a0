#include "pages/model/fsk.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence FskSequence(const FskSettings& s) {
    // clang-format off
    return {
        {FormatCommand("FSKey:STATe %s", {s.state}),                     {}, {300}},
        {FormatCommand("FSKey:INTernal:RATE %f%s", {s.rate, s.rateUnit}), {}, {200, 100}},
        {FormatCommand("FSKey:FREQuency %f%s", {s.freq, s.freqUnit}),    {}, {100}},
        {FormatCommand("FSKey:SOURce %s", {s.source}),                   {}, {}},
    };
    // clang-format on
}

const PageModel<FskSettings>& FskPage() {
    using F = Field<FskSettings>;
    using S = FskSettings;
    static const PageModel<FskSettings> page{
        "fsk",
        "frequency-shift keying",
        {
            F::Text("state", &S::state, kOnOff),
            F::Text("source", &S::source, kFskSources),
            F::Text("rate-unit", &S::rateUnit, kModulationUnits),
            F::Text("freq-unit", &S::freqUnit, kFrequencyUnits),
            F::Number("freq", &S::freq),
            F::Number("rate", &S::rate),
        },
        FskSequence};
    return page;
}

}  // namespace valdrix::model
