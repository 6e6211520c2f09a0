#include "cli/cli_usage.h"

#include <fmt/format.h>

#include "cli/cli_commands.h"
#include "link/link_kinds.h"

namespace valdrix::cli {

namespace {

// The options every command takes.
std::string GlobalOptions() {
    return valdrix::link::LinkUsage() + " [--dry-run]";
}

std::string CommandList() {
    std::string list;
    for (const CliCommand& command : CliCommands()) {
        list += fmt::format("  {:<12}{}\n", command.name, command.summary);
    }
    return list;
}

std::string UsageLines() {
    return fmt::format(
        "Usage: {0} {1} COMMAND [FIELD OPTIONS]\n"
        "       {0} -h | --help | -V | --version | COMMAND --help\n",
        kCliProgram, GlobalOptions());
}

}  // namespace

std::string CliHelp() {
    return fmt::format(
        "{}\n"
        "Sends the panel's command lines to the waveform generator, with the same pauses, and\n"
        "prints each line as it is written.\n\n"
        "Commands:\n{}\n"
        "Options:\n"
        "{}"
        "  --dry-run          print the lines only: nothing is written, nothing waits\n"
        "  -h, --help         show this text; COMMAND --help shows a command's field options\n"
        "  -V, --version      show the version\n"
        "These options may also follow the COMMAND; \"--\" ends the options.\n\n"
        "Exit status: 0 every line written; 1 the link failed (the reason on standard error,\n"
        "nothing after the failed line written); 2 bad usage or a field the page would refuse\n"
        "(nothing written).\n",
        UsageLines(), CommandList(), valdrix::link::LinkHelp());
}

std::string CommandHelp(const CliCommand& command) {
    const std::string invocation =
        command.synopsis.empty() ? command.name : command.name + " " + command.synopsis;
    std::string help = fmt::format("Usage: {} {} {}\n\n{}\n", kCliProgram, GlobalOptions(),
                                   invocation, command.summary);
    if (!command.details.empty()) {
        help += fmt::format("\nEach field option defaults to the page's own value:\n{}",
                            command.details);
    }
    return help;
}

}  // namespace valdrix::cli
