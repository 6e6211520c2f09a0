#include "cli/cli_arguments.h"

#include <fmt/format.h>

namespace {

constexpr char kLinkOption[] = "--link";
constexpr char kLinkPrefix[] = "--link=";

void TakeLink(CliArguments& parsed, const std::string& text) {
    const auto choice = ParseLinkChoice(text);
    if (choice) {
        parsed.link = *choice;
    } else {
        parsed.error = fmt::format("unknown link \"{}\": use usb, usb:N, sim or file:PATH", text);
    }
}

}  // namespace

CliArguments ParseCliArguments(const std::vector<std::string>& arguments) {
    CliArguments parsed;
    std::size_t i = 0;
    for (; i < arguments.size() && arguments[i].starts_with("-"); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.request = CliArguments::Request::ProgramHelp;
            return parsed;
        }
        if (argument == "--version") {
            parsed.request = CliArguments::Request::Version;
            return parsed;
        }
        if (argument == "--dry-run") {
            parsed.dryRun = true;
        } else if (argument == kLinkOption && i + 1 < arguments.size()) {
            TakeLink(parsed, arguments[++i]);
        } else if (argument == kLinkOption) {
            parsed.error = "--link needs a value: usb, usb:N, sim or file:PATH";
        } else if (argument.starts_with(kLinkPrefix)) {
            TakeLink(parsed, argument.substr(sizeof kLinkPrefix - 1));
        } else {
            parsed.error = fmt::format("unknown option \"{}\"", argument);
        }
        if (!parsed.error.empty()) return parsed;
    }
    if (i == arguments.size()) {
        parsed.error = "no COMMAND given";
        return parsed;
    }
    parsed.command = arguments[i];
    parsed.commandArguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                   arguments.end());
    return parsed;
}
