#pragma once

#include <utility>

#include "link/link_choice.h"

namespace valdrix::gui {

// The application object: runs the main dialog and ends the program when it closes.
class CValdrixApp {
public:
    explicit CValdrixApp(valdrix::link::LinkChoice link = {}, bool startFromDefaults = false)
        : m_link(std::move(link)), m_bStartFromDefaults(startFromDefaults) {}

    // Returns false: there is no message loop after the dialog.
    bool InitInstance();

private:
    valdrix::link::LinkChoice m_link;
    bool m_bStartFromDefaults;
};

}  // namespace valdrix::gui
