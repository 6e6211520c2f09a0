#pragma once

#include "cli/cli_command.h"

namespace valdrix::cli {

// `list`: the instruments on USB, one a line, with whether each can be opened now.
CliCommand ListCommand();

}  // namespace valdrix::cli
