#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers in edit fields follow the C locale whatever the operator's regional settings:
// "." is the decimal point; a leading "+" and blanks around the number are allowed, nothing
// else is. A number too small for a double reads as 0.
std::optional<double> ParseDouble(std::string_view text);
std::optional<int> ParseInt(std::string_view text);

// A double in its shortest general form with up to 15 significant digits: 1000.0 shows as 1000.
std::string FormatDouble(double value);
