#pragma once

#include "cli/cli_command.h"

namespace valdrix::cli {

// serve: the instrument as a raw SCPI socket (the LXI "SOCKET" resource, TCP port 5025) that
// VISA libraries and lxi-tools drive unchanged. Runs until SIGINT or SIGTERM.
CliCommand ServeCommand();

}  // namespace valdrix::cli
