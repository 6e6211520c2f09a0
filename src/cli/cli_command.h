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

namespace valdrix::cli {

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
    // A text to print instead of lines to send: the setup file of --print-setup.
    std::string printOut = {};
};

using BackendMaker =
    std::function<std::unique_ptr<valdrix::link::DeviceBackend>(const valdrix::link::LinkChoice&)>;

// A command that runs on its own rather than sending composed lines (serve, list): it gets the
// arguments that its compose accepted, every link given in order (USB instrument 0 when none
// is), standard output and error, and returns the exit status.
using CommandRunner =
    std::function<int(CommandArguments, const std::vector<valdrix::link::LinkChoice>& links,
                      std::ostream& out, std::ostream& err, const BackendMaker&)>;

// One COMMAND of the program: a page, a single instrument command, raw lines (which may come
// from the program's standard input), or a command of its own kind that runs by itself.
struct CliCommand {
    std::string name;
    std::string summary;   // one line in the program's help
    std::string synopsis;  // what may follow the name
    std::string details;   // the options, one a line, with their defaults
    std::function<Composition(CommandArguments, std::istream& input)> compose;
    CommandRunner run = {};  // set for a command that does its own work after compose
};

}  // namespace valdrix::cli
