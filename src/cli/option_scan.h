#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/cli_command.h"

namespace valdrix::cli {

// The field options after a page command, as "--name VALUE" or "--name=VALUE", in the order
// given. Every option takes a value; the value is taken as it stands, so "--offset -1.5" works.
struct OptionScan {
    std::vector<std::pair<std::string, std::string>> values;  // name, value
    bool helpAsked = false;
    std::string error;
};

// names: the options the command knows, "--state" and the like.
OptionScan ScanOptions(CommandArguments arguments, const std::vector<std::string>& names);

}  // namespace valdrix::cli
