#include "cli/cli_commands.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <streambuf>

#include "cli/list_command.h"
#include "cli/page_command.h"
#include "cli/serve_command.h"
#include "link/command_line.h"
#include "pages/model/am.h"
#include "pages/model/burst.h"
#include "pages/model/common_commands.h"
#include "pages/model/continuous.h"
#include "pages/model/fm.h"
#include "pages/model/fsk.h"
#include "pages/model/pm.h"
#include "pages/model/pwm.h"
#include "pages/model/sweep.h"

namespace valdrix::cli {

using namespace valdrix::link;

using namespace valdrix::model;

namespace {

// A command of one line that takes no field, sent with no pause like the panel's buttons.
CliCommand SingleLineCommand(std::string name, std::string line, std::string summary) {
    auto compose = [line](CommandArguments arguments, std::istream&) {
        if (arguments.empty()) return Composition{{{line, {}, {}}}, false, {}};
        if (arguments.front() == "--help" || arguments.front() == "-h") {
            return Composition{{}, true, {}};
        }
        return Composition{
            {},
            false,
            fmt::format("takes no argument, not \"{}\"", PrintableText(arguments.front()))};
    };
    return {std::move(name), fmt::format("{} (\"{}\")", summary, line), "", "", compose};
}

// The lines a script may hold: far beyond any real one, and a bound for an endless input.
constexpr int kLongestScript = 100000;

enum class ScriptLine { Read, TooLong, End };

// One line of input without its line end. A line is read no further than a command line may
// reach, with a carriage return after it, so that an input that never ends a line stops.
ScriptLine ReadScriptLine(std::streambuf& input, std::string& line) {
    using Traits = std::streambuf::traits_type;
    line.clear();
    for (auto c = input.sbumpc(); !Traits::eq_int_type(c, Traits::eof()); c = input.sbumpc()) {
        if (Traits::to_char_type(c) == '\n') return ScriptLine::Read;
        line += Traits::to_char_type(c);
        if (line.size() > kMaxCommandLine + 1) return ScriptLine::TooLong;
    }
    return line.empty() ? ScriptLine::End : ScriptLine::Read;
}

// The lines of a script on standard input: one command a line; blank lines and lines starting
// with "#" are skipped.
Composition ScriptLines(std::istream& input) {
    Composition composition;
    std::string line;
    for (int number = 1;; ++number) {
        const ScriptLine read = ReadScriptLine(*input.rdbuf(), line);
        if (read == ScriptLine::End) break;
        if (read == ScriptLine::TooLong || number > kLongestScript) {
            composition.error =
                read == ScriptLine::TooLong
                    ? fmt::format(
                          "line {} of standard input is longer than the {} characters a "
                          "command line may hold",
                          number, kMaxCommandLine)
                    : fmt::format(
                          "line {} of standard input: a script holds at most {} lines; send "
                          "a longer one in parts",
                          number, kLongestScript);
            return composition;
        }
        if (line.ends_with('\r')) line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line.starts_with('#')) continue;
        composition.sequence.push_back({line, {}, {}});
        composition.inputLines.push_back(number);
    }
    if (composition.sequence.empty()) composition.error = "standard input holds no command line";
    return composition;
}

// The options of the page commands mean nothing to raw lines: given by mistake, they must not
// go to the instrument as commands.
std::optional<std::string> MisplacedOption(CommandArguments arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") break;
        if (argument == "--setup" || argument.starts_with("--setup=") ||
            argument == "--print-setup") {
            return fmt::format(
                "{} does not apply to raw lines; put \"--\" before a line that "
                "starts with \"-\"",
                PrintableText(argument.substr(0, argument.find('='))));
        }
    }
    return std::nullopt;
}

// Each LINE as one command line, with no pause between them; "-" reads them from standard
// input. "--" before the lines lets a line start with "-".
CliCommand RawCommand() {
    auto compose = [](CommandArguments arguments, std::istream& input) {
        if (!arguments.empty() && (arguments.front() == "--help" || arguments.front() == "-h")) {
            return Composition{{}, true, {}};
        }
        if (const auto misplaced = MisplacedOption(arguments))
            return Composition{{}, false, *misplaced};
        if (arguments.size() == 1 && arguments.front() == "-") return ScriptLines(input);
        if (!arguments.empty() && arguments.front() == "--") arguments = arguments.subspan(1);
        if (arguments.empty()) return Composition{{}, false, "needs at least one LINE"};
        Composition composition;
        for (const std::string& line : arguments) composition.sequence.push_back({line, {}, {}});
        return composition;
    };
    return {"raw",
            "each LINE as one command line, with no pause between them; - reads them "
            "from standard input, one a line",
            "[--] LINE... | -", "", compose};
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        PageCommand(ContinuousPage()),
        PageCommand(FmPage()),
        PageCommand(AmPage()),
        PageCommand(PmPage()),
        PageCommand(PwmPage()),
        PageCommand(FskPage()),
        PageCommand(SweepPage()),
        PageCommand(BurstPage()),
        SingleLineCommand("reset", kResetCommand, "reset the instrument"),
        SingleLineCommand("local", kLocalCommand, "give the instrument back to its front panel"),
        SingleLineCommand("trigger", kTriggerCommand, "one trigger, as the Burst Once button"),
        RawCommand(),
        ListCommand(),
        ServeCommand(),
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

}  // namespace valdrix::cli
