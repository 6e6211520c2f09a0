#pragma once

#include <string>
#include <vector>

#include "cli/cli_command.h"

namespace valdrix::cli {

// A page command's setup options, taken out of its arguments: "--setup FILE" starts the fields
// from the page's section of a setup file, "--print-setup" prints a setup file instead of
// sending. The field options that are left win over the file.
struct SetupOptions {
    std::vector<std::string> fieldArguments;
    std::string file;
    bool print = false;
    std::string error;
};

SetupOptions TakeSetupOptions(CommandArguments arguments);

}  // namespace valdrix::cli
