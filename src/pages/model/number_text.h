#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace valdrix::model {

// Numbers in edit fields follow the C locale whatever the operator's regional settings:
// "." is the decimal point; a leading "+" and blanks around the number are allowed, nothing
// else is. A number too small for a double reads as 0.
std::optional<double> ParseDouble(std::string_view text);
std::optional<int> ParseInt(std::string_view text);

// A double in its general form with 15 significant digits, or 17 when 15 would not read back
// to the same double: 1000.0 shows as 1000.
std::string FormatDouble(double value);

// What the operator is told when a field's text is not a number of its kind, or out of range.
// A text with a decimal comma is told that the separator is a point.
std::string NumberRefusal(bool whole, std::string_view text);
std::string RangeRefusal(bool whole, double minimum, double maximum);

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    if constexpr (std::is_same_v<Number, int>) {
        return ParseInt(text);
    } else {
        return ParseDouble(text);
    }
}

}  // namespace valdrix::model
