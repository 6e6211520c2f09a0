#pragma once

#include <string>
#include <vector>

#include "link/link_choice.h"

namespace valdrix::cli {

// The program's own options (--link, --dry-run, --help, --version) may stand before or after
// the COMMAND; "--" ends them. Everything else after the COMMAND is the command's to read,
// "--" included.
struct CliArguments {
    enum class Request { Command, ProgramHelp, Version } request = Request::Command;
    valdrix::link::LinkChoice
        link;  // USB instrument 0 unless --link says otherwise, as in the panel
    // Every --link, in the order given: serve serves them all, the other commands take the last.
    std::vector<valdrix::link::LinkChoice> links;
    bool dryRun = false;
    std::string command;
    std::vector<std::string> commandArguments;
    std::string error;  // set when the arguments cannot be understood
};

CliArguments ParseCliArguments(const std::vector<std::string>& arguments);

}  // namespace valdrix::cli
