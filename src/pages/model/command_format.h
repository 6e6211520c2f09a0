#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace valdrix::model {

using CommandValue = std::variant<double, int, std::string>;

// A command line from its printf template, exactly as printf would write it in the C locale:
// "%f" fixed with six decimals and ".", "%d" decimal, "%%" one percent sign.
std::string FormatCommand(std::string_view format, std::initializer_list<CommandValue> values);

}  // namespace valdrix::model
