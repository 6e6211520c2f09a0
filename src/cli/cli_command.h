#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/device_backend.h"
#include "link/link_choice.h"
#include "pages/model/command_sequence.h"

using valdrix::model::CommandSequence;

// The arguments that follow a COMMAND on the command line.
using CommandArguments = std::span<const std::string>;

// What a command makes of its arguments: the lines to send, a request for its help, or why
// they cannot be sent (naming the option at fault).
struct Composition {
    CommandSequence sequence;
    bool helpAsked = false;
    std::string error;
    // Where each line came from, when the lines were read from standard input: its line number.
    std::vector<int> inputLines = {};
};

using BackendMaker = std::function<std::unique_ptr<DeviceBackend>(const LinkChoice&)>;

// A command that runs on its own rather than sending composed lines (serve): it gets the
// arguments that its compose accepted, the link chosen and standard error, and returns the exit
// status.
using CommandRunner = std::function<int(CommandArguments, const LinkChoice&, std::ostream& err,
                                        const BackendMaker&)>;

// One COMMAND of the program: a page, a single instrument command, or raw lines. A command may
// read its lines from the program's standard input.
struct CliCommand {
    std::string name;
    std::string summary;   // one line in the program's help
    std::string synopsis;  // what may follow the name
    std::string details;   // the options, one a line, with their defaults
    std::function<Composition(CommandArguments, std::istream& input)> compose;
    CommandRunner run = {};
};
