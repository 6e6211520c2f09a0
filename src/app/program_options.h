#pragma once

#include <QStringList>
#include <string>

#include "link/link_choice.h"

namespace valdrix::gui {

// The few options beyond the original panel. With none, the program uses USB instrument 0.
struct ProgramOptions {
    valdrix::link::LinkChoice link;
    bool help = false;
    bool version = false;
    bool defaults = false;  // start from the pages' defaults, not from the last run
    std::string error;      // set when the arguments cannot be understood
};

// Reads the arguments (the program's name first) before any window exists, so that a mistake
// is told on a machine without a display too. Qt's own options (-platform and the like) are
// left for Qt.
ProgramOptions ParseProgramOptions(const QStringList& arguments);
std::string UsageText(const std::string& program);

}  // namespace valdrix::gui
