#pragma once

#include <string>

#include "cli/cli_command.h"

namespace valdrix::cli {

inline constexpr char kCliProgram[] = "valdrix-cli";

// --help: usage, commands, options and exit status.
std::string CliHelp();
// COMMAND --help: its usage and its field options with the page's defaults.
std::string CommandHelp(const CliCommand& command);

}  // namespace valdrix::cli
