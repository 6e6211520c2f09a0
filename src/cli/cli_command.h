#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

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
    // A text to print instead of lines to send: the setup file of --print-setup.
    std::string printOut = {};
};

// One COMMAND of the program: a page, a single instrument command, or raw lines. A command may
// read its lines from the program's standard input.
struct CliCommand {
    std::string name;
    std::string summary;   // one line in the program's help
    std::string synopsis;  // what may follow the name
    std::string details;   // the options, one a line, with their defaults
    std::function<Composition(CommandArguments, std::istream& input)> compose;
};
