#pragma once

#include <fmt/format.h>

#include <algorithm>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "cli/option_scan.h"
#include "cli/setup_options.h"
#include "link/command_line.h"
#include "pages/model/field.h"
#include "pages/model/page_model.h"
#include "pages/model/setup_file.h"

namespace valdrix::cli {

// What a field option takes, as its help shows it.
template <typename Settings>
std::string ValueName(const valdrix::model::Field<Settings>& field) {
    using valdrix::model::FieldKind;
    switch (field.kind) {
        case FieldKind::Number: return "NUMBER";
        case FieldKind::WholeNumber: return "INTEGER";
        case FieldKind::Text: return "TEXT";
        case FieldKind::Radio: break;
    }
    return fmt::format("{}", fmt::join(field.choices, "|"));
}

// One line of a page command's help: the option, its range or list, and the page's default.
template <typename Settings>
std::string DescribeOption(const valdrix::model::Field<Settings>& field) {
    using valdrix::model::FieldKind;
    std::string limits;
    if (field.range) {
        limits = fmt::format("{} to {}; ", valdrix::model::FormatDouble(field.range->minimum),
                             valdrix::model::FormatDouble(field.range->maximum));
    } else if (field.kind == FieldKind::Text) {
        limits = fmt::format("the panel offers {}; ", fmt::join(field.choices, " "));
    }
    if (!field.onlyInMode.empty()) limits += fmt::format("mode {} only; ", field.onlyInMode);
    return fmt::format("  {:<24}{}default {}\n", "--" + field.option + " " + ValueName(field),
                       limits, valdrix::model::FieldText(field, Settings{}));
}

// An option given whose field the chosen mode does not send, named with the mode that does:
// output the operator asked for and would not get must not pass unnoticed.
template <typename Settings>
std::optional<std::string> OptionUnusedByMode(
    const valdrix::model::FieldTable<Settings>& fields, const Settings& settings,
    const std::vector<std::pair<std::string, std::string>>& given) {
    const auto mode = std::find_if(fields.begin(), fields.end(), [](const auto& field) {
        return field.kind == valdrix::model::FieldKind::Radio;
    });
    if (mode == fields.end()) return std::nullopt;
    for (const auto& option : given) {
        const auto* field = valdrix::model::FindField(fields, option.first.substr(2));
        if (!field->onlyInMode.empty() && field->onlyInMode != FieldText(*mode, settings)) {
            return fmt::format("{} is used by --{} {} only", option.first, mode->option,
                               field->onlyInMode);
        }
    }
    return std::nullopt;
}

// The page's fields from its section of a setup file, or why they cannot be taken.
template <typename Settings>
std::optional<std::string> TakeSetupFile(const valdrix::model::PageModel<Settings>& page,
                                         Settings& settings, const std::string& path) {
    const valdrix::model::SetupRead read = valdrix::model::ReadSetupFile(path);
    if (!read.error.empty()) return read.error;
    const auto* texts = valdrix::model::FindSetupPage(read.setup, page.name);
    if (texts == nullptr)
        return fmt::format("the setup \"{}\" has no [{}] section", path, page.name);
    if (const auto refusal = valdrix::model::TakeTexts(page, settings, *texts)) {
        return fmt::format("the setup \"{}\", [{}] {}", path, page.name, *refusal);
    }
    return std::nullopt;
}

// A page as a command: its settings start from the page's own defaults, or from a setup file,
// each field option given replaces one of them with the rules of the page's field, and the
// page's sequence turns them into its lines, or --print-setup into a setup file.
template <typename Settings>
CliCommand PageCommand(const valdrix::model::PageModel<Settings>& page) {
    std::vector<std::string> names;
    std::string details;
    for (const auto& field : page.fields) {
        names.push_back("--" + field.option);
        details += DescribeOption(field);
    }
    auto compose = [&page, names](CommandArguments arguments, std::istream&) {
        const SetupOptions setup = TakeSetupOptions(arguments);
        if (!setup.error.empty()) return Composition{{}, false, setup.error};
        const OptionScan scan = ScanOptions(setup.fieldArguments, names);
        if (scan.helpAsked || !scan.error.empty()) {
            return Composition{{}, scan.helpAsked, scan.error};
        }
        Settings settings{};
        if (!setup.file.empty()) {
            if (const auto refusal = TakeSetupFile(page, settings, setup.file)) {
                return Composition{{}, false, *refusal};
            }
        }
        for (const auto& given : scan.values) {
            const auto* field = valdrix::model::FindField(page.fields, given.first.substr(2));
            if (const auto refusal =
                    valdrix::model::TakeFieldText(*field, settings, given.second)) {
                return Composition{
                    {},
                    false,
                    fmt::format("{} \"{}\": {}", given.first,
                                valdrix::link::PrintableText(given.second), *refusal)};
            }
        }
        if (const auto unused = OptionUnusedByMode(page.fields, settings, scan.values)) {
            return Composition{{}, false, *unused};
        }
        if (setup.print) {
            return Composition{{},
                               false,
                               {},
                               {},
                               valdrix::model::SetupText({{page.name, TextsOf(page, settings)}})};
        }
        return Composition{page.sequence(settings), false, {}};
    };
    return {page.name, page.summary, "[--setup FILE] [--print-setup] [FIELD OPTIONS]", details,
            compose};
}

}  // namespace valdrix::cli
