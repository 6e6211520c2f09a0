#pragma once

#include <fmt/format.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "cli/field_option.h"
#include "cli/option_scan.h"

// A page as a command: its settings start from the page's own defaults, each field option
// given replaces one of them, and the page's sequence turns them into its lines.
template <typename Settings>
CliCommand PageCommand(std::string name, std::string summary,
                       std::vector<FieldOption<Settings>> options,
                       CommandSequence (*sequence)(const Settings&)) {
    std::vector<std::string> names;
    std::string details;
    for (const FieldOption<Settings>& option : options) {
        names.push_back(option.Name());
        details += option.Describe(Settings{});
    }
    auto compose = [options, names, sequence](CommandArguments arguments) {
        const OptionScan scan = ScanOptions(arguments, names);
        if (scan.helpAsked || !scan.error.empty())
            return Composition{{}, scan.helpAsked, scan.error};
        Settings settings{};
        for (const auto& [optionName, text] : scan.values) {
            const auto option = std::find_if(options.begin(), options.end(),
                                             [&](const auto& o) { return o.Name() == optionName; });
            if (const auto refusal = option->TakeText(settings, text)) {
                return Composition{{}, false, fmt::format("{}: {}", optionName, *refusal)};
            }
        }
        return Composition{sequence(settings), false, {}};
    };
    return {std::move(name), std::move(summary), "[FIELD OPTIONS]", details, compose};
}
