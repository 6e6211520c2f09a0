#include "app/program_options.h"

#include <fmt/format.h>

namespace {

bool TakeLink(ProgramOptions& options, const std::string& value) {
    const auto choice = ParseLinkChoice(value);
    if (!choice) {
        options.error = fmt::format("unknown link \"{}\": use usb, usb:N, sim or file:PATH", value);
        return false;
    }
    options.link = *choice;
    return true;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--link") {
            if (i + 1 == arguments.size()) {
                options.error = "--link needs a value: usb, usb:N, sim or file:PATH";
                return options;
            }
            if (!TakeLink(options, arguments[++i])) return options;
        } else if (argument.starts_with("--link=")) {
            if (!TakeLink(options, argument.substr(7))) return options;
        } else {
            options.error = fmt::format("unknown argument \"{}\"", argument);
            return options;
        }
    }
    return options;
}

std::string UsageText(const std::string& program) {
    return fmt::format(
        "Usage: {0} [--link usb[:N] | --link sim | --link file:PATH]\n"
        "       {0} --help | --version\n\n"
        "Remote-control panel for the function and arbitrary waveform generator.\n\n"
        "  --link usb[:N]     the N-th instrument on USB, counted from 0 (the default: usb:0)\n"
        "  --link sim         the built-in simulated instrument; it echoes what it receives\n"
        "                     to standard error\n"
        "  --link file:PATH   append every frame the instrument would receive to PATH\n"
        "  --help             show this text\n"
        "  --version          show the version\n",
        program);
}
