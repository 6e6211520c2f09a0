#pragma once

#include <string_view>
#include <vector>

#include "cli/cli_command.h"

namespace valdrix::cli {

// Every COMMAND of the program, in the order its help lists them.
const std::vector<CliCommand>& CliCommands();

// The command of that name, or nullptr.
const CliCommand* FindCliCommand(std::string_view name);

}  // namespace valdrix::cli
