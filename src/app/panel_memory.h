#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "pages/model/setup_file.h"

namespace valdrix::gui {

// What the panel keeps between runs: every page's fields as shown, the tab in view and the
// console's history. It lives in the program's own folder of the platform's config location
// (apart for each program's name), in the setup files' format.
struct PanelMemory {
    valdrix::model::Setup pages;
    int tab = 0;
    std::vector<std::string> history;
};

struct RecalledMemory {
    PanelMemory memory;
    // Why the file could not be taken, naming it; it is left as it is then.
    std::string error;
};

// "~/.config/valdrix" for Valdrix, "~/.config/quennet" for Quennet.
QString ConfigFolder();
// Where the file dialogs for setups start.
QString SetupsFolder();

// Nothing, and no error, on the first start.
RecalledMemory RecallPanel();
// Writes the file whole or not at all. Its console history is the kept file's, as another
// window may have left it, with the lines added in this run after it; the memory's own history
// when there is no file. Says why nothing was written, naming the file.
std::optional<std::string> RememberPanel(PanelMemory memory, const std::vector<std::string>& added);

}  // namespace valdrix::gui
