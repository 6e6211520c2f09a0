#include "pages/model/number_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <type_traits>

#include "pages/model/command_format.h"
#include "pages/model/field.h"

namespace valdrix::model {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The number as from_chars reads it: blanks around it gone, and a leading "+" too, which
// from_chars does not take but an operator may type ("+1" for an offset).
std::string_view NumberPart(std::string_view text) {
    std::string_view number = TrimBlanks(text);
    if (number.starts_with('+') && number.size() > 1 && number[1] != '-' && number[1] != '+') {
        number.remove_prefix(1);
    }
    return number;
}

// Beyond any double's power of ten by far, and far from overflowing when the place of the
// first digit (which a text of any length may hold) is added.
constexpr long long kDecidingExponent = 1LL << 40;

// The power of ten of the number's first significant digit, for a number that from_chars found
// out of range: below zero it is too small for a double, else too large.
long long DecimalMagnitude(std::string_view number) {
    if (number.starts_with('-')) number.remove_prefix(1);
    const auto exponentAt = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentAt);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    long long magnitude =
        static_cast<long long>(point) - static_cast<long long>(first) - (first < point ? 1 : 0);
    if (exponentAt == std::string_view::npos) return magnitude;
    std::string_view exponent = number.substr(exponentAt + 1);
    const bool negative = exponent.starts_with('-');
    if (exponent.starts_with('+') || negative) exponent.remove_prefix(1);
    long long power = 0;
    const auto result = std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
    // An exponent far beyond any double's decides the magnitude on its own: adding the digits'
    // place to it could overflow and turn an enormous number into a tiny one.
    if (result.ec != std::errc() || power > kDecidingExponent) return negative ? -1 : 1;
    return magnitude + (negative ? -power : power);
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
    const std::string_view number = NumberPart(text);
    Number value{};
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || end != number.data() + number.size()) return std::nullopt;
    if constexpr (std::is_floating_point_v<Number>) {
        // A number too small for a double (1e-400) is zero to any instrument.
        if (error == std::errc::result_out_of_range && DecimalMagnitude(number) < 0) return 0.0;
    }
    if (error != std::errc()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> ParseDouble(std::string_view text) {
    const auto value = ParseWhole<double>(text);
    // "inf" and "nan" parse, but no instrument takes them as a setting.
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<int> ParseInt(std::string_view text) {
    return ParseWhole<int>(text);
}

// 15 digits keep what an operator types; a value that needs more, such as 1234567890.1234567,
// takes 17, so that its text reads back to the very same number.
std::string FormatDouble(double value) {
    std::string text = FormatCommand("%.15g", {value});
    if (ParseDouble(text) != value) text = FormatCommand("%.17g", {value});
    return text;
}

std::string NumberRefusal(bool whole, std::string_view text) {
    std::string message = whole ? "Please enter an integer." : "Please enter a number.";
    if (text.find(',') != std::string_view::npos) {
        message += " The decimal separator is a point: 1.5, not 1,5.";
    }
    return message;
}

std::string RangeRefusal(bool whole, double minimum, double maximum) {
    return fmt::format("Please enter {} between {} and {}.", whole ? "an integer" : "a number",
                       FormatDouble(minimum), FormatDouble(maximum));
}

std::string RangeText(bool whole, const std::optional<Range>& range) {
    if (!range) return whole ? "any whole number" : "any number";
    return fmt::format("{} to {}", FormatDouble(range->minimum), FormatDouble(range->maximum));
}

namespace {

template <typename Number>
std::optional<std::string> NumberTextRefusal(const FieldRule& field, const std::string& text) {
    constexpr bool whole = std::is_same_v<Number, int>;
    const std::optional<Number> parsed = ParseNumber<Number>(text);
    if (!parsed) return NumberRefusal(whole, text);
    if (field.range && (*parsed < field.range->minimum || *parsed > field.range->maximum)) {
        return RangeRefusal(whole, field.range->minimum, field.range->maximum);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FieldTextRefusal(const FieldRule& field, const std::string& text) {
    switch (field.kind) {
        case FieldKind::Number: return NumberTextRefusal<double>(field, text);
        case FieldKind::WholeNumber: return NumberTextRefusal<int>(field, text);
        case FieldKind::Text: return std::nullopt;
        case FieldKind::Radio: break;
    }
    if (std::find(field.choices.begin(), field.choices.end(), text) != field.choices.end()) {
        return std::nullopt;
    }
    return fmt::format("\"{}\" is not one of {}", text, fmt::join(field.choices, "|"));
}

}  // namespace valdrix::model
