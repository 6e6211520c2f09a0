#include "pages/model/continuous.h"

#include "pages/model/choices.h"
#include "pages/model/command_format.h"

namespace valdrix::model {

CommandSequence ContinuousOutputSequence(const ContinuousSettings& s) {
    // clang-format off
    // Pauses come before each line: the instrument needs them to settle the previous setting.
    CommandSequence sequence{{FormatCommand("FUNCtion %s", {s.waveform}), {}, {}}};
    if (s.waveform == "SQUare") {
        sequence.push_back(
            {FormatCommand("SOURce:FUNCtion:SQUare:DCYCle %d%%", {s.duty}), {400}, {}});
    }
    if (s.waveform == "RAMP") {
        sequence.push_back(
            {FormatCommand("SOURce:FUNCtion:RAMP:SYMMetry %d%%", {s.duty}), {400}, {500}});
    }
    const CommandSequence settings = {
        {FormatCommand("FREQuency %f%s", {s.freq, s.freqUnit}),          {500}, {}},
        {FormatCommand("VOLTage %f%s", {s.amplitude, s.ampUnit}),        {100}, {}},
        {FormatCommand("VOLTage:OFFSet %f%s", {s.offset, s.offsetUnit}), {100}, {}},
        {FormatCommand("VOLTage:ATTenuation %s", {s.attenuation}),       {300}, {}},
        {FormatCommand("OUTPut:POLarity %s", {s.polarity}),              {100}, {}},
        {FormatCommand("OUTPut %s", {s.output}),                         {100}, {}},
    };
    sequence.insert(sequence.end(), settings.begin(), settings.end());
    return sequence;
    // clang-format on
}

CommandSequence ContinuousDirectSequence(const ContinuousSettings& s) {
    return {{FormatCommand(
                 "Source:Apply:%s %f%s, %f%s, %f%s",
                 {s.waveform, s.freq, s.freqUnit, s.amplitude, s.ampUnit, s.offset, s.offsetUnit}),
             {},
             {}}};
}

CommandSequence ContinuousSequence(const ContinuousSettings& s) {
    return s.mode == kOutputMode ? ContinuousOutputSequence(s) : ContinuousDirectSequence(s);
}

const PageModel<ContinuousSettings>& ContinuousPage() {
    using F = Field<ContinuousSettings>;
    using S = ContinuousSettings;
    static const PageModel<ContinuousSettings> page{
        "continuous",
        "the continuous output: waveform, frequency, amplitude, offset, ...",
        {
            F::Radio(kModeOption, &S::mode, {kDirectMode, kOutputMode}),
            OnlyIn(kOutputMode, F::Text("output", &S::output, kOnOff)),
            F::Text("waveform", &S::waveform, kWaveforms),
            OnlyIn(kOutputMode, F::Text("attenuation", &S::attenuation, kAttenuations)),
            OnlyIn(kOutputMode, F::Text("polarity", &S::polarity, kPolarities)),
            F::Text("offset-unit", &S::offsetUnit, kOffsetUnits),
            F::Text("amp-unit", &S::ampUnit, kAmplitudeUnits),
            F::Text("freq-unit", &S::freqUnit, kContinuousFreqUnits),
            F::Number("freq", &S::freq, kContinuousFreq),
            F::Number("offset", &S::offset),
            F::Number("amplitude", &S::amplitude),
            OnlyIn(kOutputMode, F::WholeNumber("duty", &S::duty)),
        },
        ContinuousSequence,
        LineEnds::BetweenLines};
    return page;
}

}  // namespace valdrix::model
