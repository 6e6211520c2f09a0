#pragma once

#include <string>

#include "link/instrument.h"
#include "link/link_choice.h"

namespace valdrix::gui {

// What a message says first, and then why, in the words of the README's table.
std::string WithReason(const char* what, const std::string& reason);

// Why the instrument could not be opened at start-up, and what the operator can do about it.
std::string OpenFailureText(const valdrix::link::Instrument& instrument,
                            const valdrix::link::LinkChoice& link);

// "Please first open the USB devices", or the link named.
std::string NotOpenText(const valdrix::link::LinkChoice& link);

}  // namespace valdrix::gui
