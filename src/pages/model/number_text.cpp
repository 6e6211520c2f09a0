#include "pages/model/number_text.h"

#include <charconv>
#include <cmath>
#include <fmt/format.h>

#include "pages/model/command_format.h"

namespace valdrix::model {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
    const std::string_view digits = TrimBlanks(text);
    Number value{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<double> ParseDouble(std::string_view text) {
    const auto value = ParseWhole<double>(text);
    // "inf" and "nan" parse, but no instrument takes them as a setting.
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<int> ParseInt(std::string_view text) { return ParseWhole<int>(text); }

std::string FormatDouble(double value) { return FormatCommand("%.15g", {value}); }

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

}  // namespace valdrix::model
