#pragma once

#include <string>
#include <vector>

#include "link/link_choice.h"

// The few options beyond the original panel. With none, the program uses USB instrument 0.
struct ProgramOptions {
    LinkChoice link;
    bool help = false;
    bool version = false;
    std::string error;  // set when the arguments cannot be understood
};

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);
std::string UsageText(const std::string& program);
