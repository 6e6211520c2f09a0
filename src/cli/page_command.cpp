#include "cli/page_command.h"

#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/option_scan.h"
#include "cli/setup_options.h"
#include "link/command_line.h"
#include "pages/model/setup_file.h"

namespace valdrix::cli {

using namespace valdrix::model;

namespace {

// What a field option takes, as its help shows it.
std::string ValueName(const FieldRow& field) {
    switch (field.kind) {
        case FieldKind::Number: return "NUMBER";
        case FieldKind::WholeNumber: return "INTEGER";
        case FieldKind::Text: return "TEXT";
        case FieldKind::Radio: break;
    }
    return fmt::format("{}", fmt::join(field.choices, "|"));
}

// One line of a page command's help: the option, its range or list, and the page's default.
std::string DescribeOption(const FieldRow& field) {
    std::string limits;
    if (field.range) {
        limits = fmt::format("{} to {}; ", FormatDouble(field.range->minimum),
                             FormatDouble(field.range->maximum));
    } else if (field.kind == FieldKind::Text) {
        limits = fmt::format("the panel offers {}; ", fmt::join(field.choices, " "));
    }
    if (!field.onlyInMode.empty()) limits += fmt::format("mode {} only; ", field.onlyInMode);
    return fmt::format("  {:<24}{}default {}\n", "--" + field.option + " " + ValueName(field),
                       limits, field.defaultText);
}

// An option given whose field the chosen mode does not send, named with the mode that does:
// output the operator asked for and would not get must not pass unnoticed.
std::optional<std::string> OptionUnusedByMode(
    const CataloguePage& page, const FieldTexts& texts,
    const std::vector<std::pair<std::string, std::string>>& given) {
    const auto mode =
        std::find_if(page.fields.begin(), page.fields.end(),
                     [](const FieldRow& field) { return field.kind == FieldKind::Radio; });
    if (mode == page.fields.end()) return std::nullopt;
    const std::string& chosen = *FindText(texts, mode->option);
    for (const auto& option : given) {
        const FieldRow* field = FindField(page.fields, option.first.substr(2));
        if (!field->onlyInMode.empty() && field->onlyInMode != chosen) {
            return fmt::format("{} is used by --{} {} only", option.first, mode->option,
                               field->onlyInMode);
        }
    }
    return std::nullopt;
}

// The page's fields from its section of a setup file, or why they cannot be taken.
std::optional<std::string> TakeSetupFile(const CataloguePage& page, FieldTexts& texts,
                                         const std::string& path) {
    const SetupRead read = ReadSetupFile(path);
    if (!read.error.empty()) return read.error;
    const FieldTexts* section = FindSetupPage(read.setup, page.name);
    if (section == nullptr)
        return fmt::format("the setup \"{}\" has no [{}] section", path, page.name);
    if (const auto refusal = FirstRefusal(page, *section)) {
        return fmt::format("the setup \"{}\", [{}] {}", path, page.name, RefusalText(*refusal));
    }
    texts = *section;
    return std::nullopt;
}

void SetText(FieldTexts& texts, const std::string& option, const std::string& text) {
    const auto found = std::find_if(texts.begin(), texts.end(),
                                    [&option](const auto& entry) { return entry.first == option; });
    if (found == texts.end()) {
        texts.emplace_back(option, text);
    } else {
        found->second = text;
    }
}

}  // namespace

CliCommand PageCommand(const CataloguePage& page) {
    std::vector<std::string> names;
    std::string details;
    for (const FieldRow& field : page.fields) {
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
        FieldTexts texts;
        if (!setup.file.empty()) {
            if (const auto refusal = TakeSetupFile(page, texts, setup.file)) {
                return Composition{{}, false, *refusal};
            }
        }
        for (const auto& [option, text] : scan.values) {
            const FieldRow* field = FindField(page.fields, option.substr(2));
            if (const auto refusal = FieldTextRefusal(*field, text)) {
                return Composition{{},
                                   false,
                                   fmt::format("{} \"{}\": {}", option,
                                               valdrix::link::PrintableText(text), *refusal)};
            }
            SetText(texts, field->option, text);
        }
        const FieldTexts shown = page.shownForm(texts);
        if (const auto unused = OptionUnusedByMode(page, shown, scan.values)) {
            return Composition{{}, false, *unused};
        }
        if (setup.print) return Composition{{}, false, {}, {}, SetupText({{page.name, shown}})};
        return Composition{page.sequence(texts), false, {}};
    };
    return {page.name, page.summary, "[--setup FILE] [--print-setup] [FIELD OPTIONS]", details,
            compose};
}

}  // namespace valdrix::cli
