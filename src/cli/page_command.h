#pragma once

#include <fmt/format.h>

#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/option_scan.h"
#include "pages/model/field.h"
#include "pages/model/page_model.h"

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
    return fmt::format("  {:<24}{}default {}\n", "--" + field.option + " " + ValueName(field),
                       limits, valdrix::model::FieldText(field, Settings{}));
}

// A page as a command: its settings start from the page's own defaults, each field option
// given replaces one of them with the rules of the page's field, and the page's sequence turns
// them into its lines.
template <typename Settings>
CliCommand PageCommand(const valdrix::model::PageModel<Settings>& page) {
    std::vector<std::string> names;
    std::string details;
    for (const auto& field : page.fields) {
        names.push_back("--" + field.option);
        details += DescribeOption(field);
    }
    auto compose = [&page, names](CommandArguments arguments) {
        const OptionScan scan = ScanOptions(arguments, names);
        if (scan.helpAsked || !scan.error.empty()) {
            return Composition{{}, scan.helpAsked, scan.error};
        }
        Settings settings{};
        for (const auto& given : scan.values) {
            const auto* field = valdrix::model::FindField(page.fields, given.first.substr(2));
            if (const auto refusal = valdrix::model::TakeFieldText(*field, settings, given.second)) {
                return Composition{{}, false, fmt::format("{} \"{}\": {}", given.first,
                                                          given.second, *refusal)};
            }
        }
        return Composition{page.sequence(settings), false, {}};
    };
    return {page.name, page.summary, "[FIELD OPTIONS]", details, compose};
}
