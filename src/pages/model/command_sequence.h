#pragma once

#include <string>
#include <vector>

namespace valdrix::model {

// One command line of a page's sequence and the pauses around it, in milliseconds. Two
// pauses in a row stay two pauses: that is how the instrument's timing was worked out.
struct CommandStep {
    std::string line;
    std::vector<unsigned> pausesBefore;
    std::vector<unsigned> pausesAfter;
};

using CommandSequence = std::vector<CommandStep>;

}  // namespace valdrix::model
