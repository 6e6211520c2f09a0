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

// One field of a page: the control that shows it, the member of the page's settings that
// holds it, and the name valdrix-cli and setup files know it by. The page's data exchange, the
// defaults it shows, valdrix-cli's options and help are all made from these rows, so a field
// cannot exist in one of them only.
template <typename Settings>
struct Field {
    using Member = std::variant<double Settings::*, int Settings::*, std::string Settings::*>;

    FieldKind kind;
    std::vector<int> controls;  // one control; a radio field has one button per choice
    std::string option;         // "freq": valdrix-cli's --freq
    Member member;
    Choices choices = {};
    std::optional<Range> range = {};
    // The value of the page's radio field for which the field is sent; empty: always.
    std::string onlyInMode = {};

    int Control() const { return controls.front(); }

    static Field Number(int control, std::string option, double Settings::*member,
                        std::optional<Range> range = {}) {
        return {FieldKind::Number, {control}, std::move(option), member, {}, range};
    }
    static Field WholeNumber(int control, std::string option, int Settings::*member,
                             std::optional<Range> range = {}) {
        return {FieldKind::WholeNumber, {control}, std::move(option), member, {}, range};
    }
    static Field Text(int control, std::string option, std::string Settings::*member,
                      Choices choices) {
        return {FieldKind::Text, {control}, std::move(option), member, std::move(choices), {}};
    }
    // buttons[i] stands for choices[i].
    static Field Radio(std::vector<int> buttons, std::string option, std::string Settings::*member,
                       Choices choices) {
        return {FieldKind::Radio, std::move(buttons), std::move(option),
                member,           std::move(choices), {}};
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
// it. A text field takes any text, as an editable combo box does; radio buttons offer their
// choices only.
template <typename Settings>
std::optional<std::string> TakeFieldText(const Field<Settings>& field, Settings& settings,
                                         const std::string& text) {
    if (field.kind == FieldKind::Radio &&
        std::find(field.choices.begin(), field.choices.end(), text) == field.choices.end()) {
        return fmt::format("\"{}\" is not one of {}", text, fmt::join(field.choices, "|"));
    }
    return std::visit(
        [&](auto member) -> std::optional<std::string> {
            auto& value = settings.*member;
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string>) {
                value = text;
                return std::nullopt;
            } else {
                const std::optional<Value> parsed = ParseNumber<Value>(text);
                constexpr bool whole = std::is_same_v<Value, int>;
                if (!parsed) return NumberRefusal(whole, text);
                if (field.range &&
                    (*parsed < field.range->minimum || *parsed > field.range->maximum)) {
                    return RangeRefusal(whole, field.range->minimum, field.range->maximum);
                }
                value = *parsed;
                return std::nullopt;
            }
        },
        field.member);
}

template <typename Settings>
const Field<Settings>* FindField(const FieldTable<Settings>& table, std::string_view option) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [option](const auto& field) { return field.option == option; });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace valdrix::model
