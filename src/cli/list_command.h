#pragma once

#include "cli/cli_command.h"

// `list`: the instruments on USB, one a line, with whether each can be opened now.
CliCommand ListCommand();
