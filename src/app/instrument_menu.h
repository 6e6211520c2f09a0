#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/link_choice.h"
#include "link/usb_survey.h"

class QMenu;

namespace valdrix::gui {

// The USB instruments of a survey as the menu offers them, named as `valdrix-cli list` names
// them: "usb:0  bus 1, port 1.4  4348:5537", with why one cannot be opened. The one in use is
// busy because this window holds it, which is not worth telling.
std::vector<std::pair<std::string, valdrix::link::LinkChoice>> UsbChoices(
    const valdrix::link::UsbSurvey& survey, const valdrix::link::LinkChoice& inUse);

// Adds the "Instrument" submenu to a context menu: every USB instrument found, "Simulated
// instrument" and "Write to a file…"; the link in use is checked. Choosing one calls choose.
void AddInstrumentMenu(QMenu& menu, const valdrix::link::LinkChoice& inUse,
                       std::function<void(const valdrix::link::LinkChoice&)> choose);

}  // namespace valdrix::gui
