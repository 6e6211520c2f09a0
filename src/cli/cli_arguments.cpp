#include "cli/cli_arguments.h"

#include <fmt/format.h>

#include "link/command_line.h"
#include "link/link_kinds.h"

namespace valdrix::cli {

using namespace valdrix::link;

namespace {

constexpr char kLinkOption[] = "--link";
constexpr char kLinkPrefix[] = "--link=";
constexpr char kEndOfOptions[] = "--";

void TakeLink(CliArguments& parsed, const std::string& text) {
    if (const auto choice = ParseLinkChoice(text)) {
        parsed.link = *choice;
        parsed.links.push_back(*choice);
    } else {
        parsed.error =
            fmt::format("unknown link \"{}\": use {}", PrintableText(text), OfferedLinks());
    }
}

// Takes the program option at arguments[i], moving i past its value. False when it is none.
bool TakeProgramOption(CliArguments& parsed, const std::vector<std::string>& arguments,
                       std::size_t& i) {
    const std::string& argument = arguments[i];
    if (argument == "--version" || argument == "-V") {
        parsed.request = CliArguments::Request::Version;
    } else if ((argument == "--help" || argument == "-h") && parsed.command.empty()) {
        parsed.request = CliArguments::Request::ProgramHelp;
    } else if (argument == "--dry-run") {
        parsed.dryRun = true;
    } else if (argument == kLinkOption && i + 1 < arguments.size()) {
        TakeLink(parsed, arguments[++i]);
    } else if (argument == kLinkOption) {
        parsed.error = "--link needs a value: " + OfferedLinks();
    } else if (argument.starts_with(kLinkPrefix)) {
        TakeLink(parsed, argument.substr(sizeof kLinkPrefix - 1));
    } else {
        return false;
    }
    return true;
}

}  // namespace

CliArguments ParseCliArguments(const std::vector<std::string>& arguments) {
    CliArguments parsed;
    bool optionsEnded = false;
    // "--setup FILE" before the page is the page's option, as after it.
    std::vector<std::string> pageOptionsBefore;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && TakeProgramOption(parsed, arguments, i)) continue;
        if (parsed.command.empty()) {
            if (!optionsEnded && argument == "--setup" && i + 1 < arguments.size()) {
                pageOptionsBefore.insert(pageOptionsBefore.end(), {argument, arguments[++i]});
            } else if (!optionsEnded && argument.starts_with("--setup=")) {
                pageOptionsBefore.push_back(argument);
            } else if (!optionsEnded && argument == kEndOfOptions) {
                optionsEnded = true;
            } else if (!optionsEnded && argument.starts_with("-")) {
                parsed.error = fmt::format("unknown option \"{}\"", PrintableText(argument));
            } else {
                parsed.command = argument;
            }
            continue;
        }
        if (argument == kEndOfOptions) optionsEnded = true;
        parsed.commandArguments.push_back(argument);
    }
    parsed.commandArguments.insert(parsed.commandArguments.begin(), pageOptionsBefore.begin(),
                                   pageOptionsBefore.end());
    if (parsed.error.empty() && parsed.request == CliArguments::Request::Command &&
        parsed.command.empty()) {
        parsed.error = "no COMMAND given";
    }
    return parsed;
}

}  // namespace valdrix::cli
