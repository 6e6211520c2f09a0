#pragma once

#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "pages/model/number_text.h"

namespace valdrix::model {

enum class FieldKind {
    Number,       // an edit box holding a double
    WholeNumber,  // an edit box holding an int
    Text,         // an editable combo box: one of its list, or whatever was typed
    Radio,        // radio buttons: one value of the list each
};

struct Range {
    double minimum;
    double maximum;
};

// What a number field takes, for assistive technology: "0 to 2000000", or "any number".
std::string RangeText(bool whole, const std::optional<Range>& range);

using Choices = std::vector<std::string>;

// What a field is, wherever a page keeps it: its kind, the name valdrix-cli and setup files know
// it by ("freq": valdrix-cli's --freq), and what it offers and takes. The panel's checks,
// valdrix-cli's options and help, and setups are all made from these rules, so the three take
// the same texts.
struct FieldRule {
    FieldKind kind;
    std::string option;
    Choices choices = {};
    std::optional<Range> range = {};
    // The value of the page's radio field for which the field is sent; empty: always.
    std::string onlyInMode = {};
};

// Why the field's box would refuse text, or nothing when it takes it. A text field takes any
// text, as an editable combo box does; radio buttons offer their choices only.
std::optional<std::string> FieldTextRefusal(const FieldRule& field, const std::string& text);

// One field of a page: its rule, and the member of the page's settings that holds it. The
// template of the page names the field's control by the option.
template <typename Settings>
struct Field : FieldRule {
    using Member = std::variant<double Settings::*, int Settings::*, std::string Settings::*>;

    Member member;

    static Field Number(std::string option, double Settings::*member,
                        std::optional<Range> range = {}) {
        return {{FieldKind::Number, std::move(option), {}, range}, member};
    }
    static Field WholeNumber(std::string option, int Settings::*member,
                             std::optional<Range> range = {}) {
        return {{FieldKind::WholeNumber, std::move(option), {}, range}, member};
    }
    static Field Text(std::string option, std::string Settings::*member, Choices choices) {
        return {{FieldKind::Text, std::move(option), std::move(choices)}, member};
    }
    static Field Radio(std::string option, std::string Settings::*member, Choices choices) {
        return {{FieldKind::Radio, std::move(option), std::move(choices)}, member};
    }
};

// The field, sent only when the page's radio field holds mode.
template <typename Settings>
Field<Settings> OnlyIn(std::string mode, Field<Settings> field) {
    field.onlyInMode = std::move(mode);
    return field;
}

template <typename Settings>
using FieldTable = std::vector<Field<Settings>>;

// The field as its box shows it: a double in its shortest general form, an int in decimal.
template <typename Settings>
std::string FieldText(const Field<Settings>& field, const Settings& settings) {
    return std::visit(
        [&settings](auto member) -> std::string {
            const auto& value = settings.*member;
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, double>) {
                return FormatDouble(value);
            } else if constexpr (std::is_same_v<std::decay_t<decltype(value)>, int>) {
                return fmt::format("{}", value);
            } else {
                return value;
            }
        },
        field.member);
}

// Stores text in the field as the page's box would take it, or says why the page would refuse
// it.
template <typename Settings>
std::optional<std::string> TakeFieldText(const Field<Settings>& field, Settings& settings,
                                         const std::string& text) {
    if (auto refusal = FieldTextRefusal(field, text)) return refusal;
    std::visit(
        [&](auto member) {
            auto& value = settings.*member;
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string>) {
                value = text;
            } else {
                value = *ParseNumber<Value>(text);
            }
        },
        field.member);
    return std::nullopt;
}

// The row of a table of fields (typed or not) that has this option, or nullptr.
template <typename Row>
const Row* FindField(const std::vector<Row>& table, std::string_view option) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [option](const auto& field) { return field.option == option; });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace valdrix::model
