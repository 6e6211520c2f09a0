#include "cli/cli_commands.h"

#include <algorithm>

#include "cli/page_command.h"
#include "pages/am.h"
#include "pages/burst.h"
#include "pages/common_commands.h"
#include "pages/continous.h"
#include "pages/fm.h"
#include "pages/fsk.h"
#include "pages/pm.h"
#include "pages/pwm.h"
#include "pages/sweep.h"

namespace {

constexpr char kDirectMode[] = "direct";
constexpr char kOutputMode[] = "output";

// The Continuous page's radio buttons join its fields: one combined line, or one command a
// setting.
struct ContinuousCommandSettings : ContinuousSettings {
    std::string mode = kDirectMode;
};

CommandSequence ContinuousCommandSequence(const ContinuousCommandSettings& settings) {
    return settings.mode == kOutputMode ? ContinuousOutputSequence(settings)
                                        : ContinuousDirectSequence(settings);
}

CliCommand ContinuousCommand() {
    using S = ContinuousCommandSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>(
        "continuous", "the continuous output: waveform, frequency, amplitude, offset, ...",
        {
            Field::Choice("--mode", &S::mode, {kDirectMode, kOutputMode}),
            Field::Text("--waveform", &S::waveform),
            Field::Number("--freq", &S::freq, {{kMinContinuousFreq, kMaxContinuousFreq}}),
            Field::Text("--freq-unit", &S::freqUnit),
            Field::Number("--amplitude", &S::amplitude),
            Field::Text("--amp-unit", &S::ampUnit),
            Field::Number("--offset", &S::offset),
            Field::Text("--offset-unit", &S::offsetUnit),
            Field::Integer("--duty", &S::duty),
            Field::Text("--attenuation", &S::attenuation),
            Field::Text("--polarity", &S::polarity),
            Field::Text("--output", &S::output),
        },
        ContinuousCommandSequence);
}

CliCommand AmCommand() {
    using S = AmSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>("am", "amplitude modulation",
                          {
                              Field::Text("--state", &S::state),
                              Field::Text("--waveform", &S::waveform),
                              Field::Number("--freq", &S::modFreq),
                              Field::Text("--freq-unit", &S::freqUnit),
                              Field::Integer("--depth", &S::depth),
                          },
                          AmSequence);
}

CliCommand FmCommand() {
    using S = FmSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>("fm", "frequency modulation",
                          {
                              Field::Text("--state", &S::state),
                              Field::Text("--waveform", &S::waveform),
                              Field::Number("--freq", &S::modFreq),
                              Field::Text("--freq-unit", &S::freqUnit),
                              Field::Number("--deviation", &S::deviation),
                              Field::Text("--dev-unit", &S::devUnit),
                          },
                          FmSequence);
}

CliCommand PmCommand() {
    using S = PmSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>("pm", "phase modulation",
                          {
                              Field::Text("--state", &S::state),
                              Field::Text("--waveform", &S::waveform),
                              Field::Number("--freq", &S::modFreq),
                              Field::Text("--freq-unit", &S::freqUnit),
                              Field::Integer("--deviation", &S::deviation),
                          },
                          PmSequence);
}

CliCommand PwmCommand() {
    using S = PwmSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>("pwm", "pulse-width modulation",
                          {
                              Field::Text("--state", &S::state),
                              Field::Text("--waveform", &S::waveform),
                              Field::Number("--freq", &S::modFreq),
                              Field::Text("--freq-unit", &S::freqUnit),
                              Field::Integer("--duty", &S::dutyCycle),
                          },
                          PwmSequence);
}

CliCommand FskCommand() {
    using S = FskSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>("fsk", "frequency-shift keying",
                          {
                              Field::Text("--state", &S::state),
                              Field::Text("--source", &S::source),
                              Field::Number("--freq", &S::freq),
                              Field::Text("--freq-unit", &S::freqUnit),
                              Field::Number("--rate", &S::rate),
                              Field::Text("--rate-unit", &S::rateUnit),
                          },
                          FskSequence);
}

CliCommand SweepCommand() {
    using S = SweepSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>("sweep", "frequency sweep",
                          {
                              Field::Text("--state", &S::state),
                              Field::Number("--start", &S::startFreq),
                              Field::Text("--start-unit", &S::startUnit),
                              Field::Number("--stop", &S::stopFreq),
                              Field::Text("--stop-unit", &S::stopUnit),
                              Field::Number("--time", &S::sweepTime),
                              Field::Text("--time-unit", &S::timeUnit),
                              Field::Text("--source", &S::source),
                              Field::Text("--mode", &S::mode),
                          },
                          SweepSequence);
}

CliCommand BurstCommand() {
    using S = BurstSettings;
    using Field = FieldOption<S>;
    return PageCommand<S>(
        "burst", "burst",
        {
            Field::Text("--state", &S::state),
            Field::Number("--period", &S::period),
            Field::Text("--period-unit", &S::periodUnit),
            Field::Integer("--cycles", &S::cycles, {{kMinBurstCycles, kMaxBurstCycles}}),
            Field::Integer("--phase", &S::phase),
            Field::Text("--source", &S::source),
        },
        BurstSequence);
}

// A command of one line that takes no field, sent with no pause like the panel's buttons.
CliCommand SingleLineCommand(std::string name, std::string line, std::string summary) {
    auto compose = [line](CommandArguments arguments) {
        if (arguments.empty()) return Composition{{{line, {}, {}}}, false, {}};
        if (arguments.front() == "--help") return Composition{{}, true, {}};
        return Composition{
            {}, false, fmt::format("takes no argument, not \"{}\"", arguments.front())};
    };
    return {std::move(name), fmt::format("{} (\"{}\")", summary, line), "", "", compose};
}

// Each LINE as one command line, with no pause between them. "--" before the lines lets a
// line start with "--".
CliCommand RawCommand() {
    auto compose = [](CommandArguments arguments) {
        if (!arguments.empty() && arguments.front() == "--help") return Composition{{}, true, {}};
        if (!arguments.empty() && arguments.front() == "--") arguments = arguments.subspan(1);
        if (arguments.empty()) return Composition{{}, false, "needs at least one LINE"};
        Composition composition;
        for (const std::string& line : arguments) composition.sequence.push_back({line, {}, {}});
        return composition;
    };
    return {"raw", "each LINE as one command line, with no pause between them", "[--] LINE...", "",
            compose};
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        ContinuousCommand(),
        FmCommand(),
        AmCommand(),
        PmCommand(),
        PwmCommand(),
        FskCommand(),
        SweepCommand(),
        BurstCommand(),
        SingleLineCommand("reset", kResetCommand, "reset the instrument"),
        SingleLineCommand("local", kLocalCommand, "give the instrument back to its front panel"),
        SingleLineCommand("trigger", kTriggerCommand, "one trigger, as the Burst Once button"),
        RawCommand(),
    };
    return commands;
}

const CliCommand* FindCliCommand(std::string_view name) {
    const auto& commands = CliCommands();
    const auto found =
        std::find_if(commands.begin(), commands.end(),
                     [name](const CliCommand& command) { return command.name == name; });
    return found == commands.end() ? nullptr : &*found;
}
