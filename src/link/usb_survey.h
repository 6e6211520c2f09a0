#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace valdrix::link {

// One instrument chip on USB, as `valdrix-cli list` shows it.
struct SurveyedInstrument {
    std::size_t index;     // for --link usb:N
    std::string location;  // "bus 1, port 1.4"
    std::string ids;       // "4348:5537"
    std::string whyNot;    // why it cannot be opened now, in the README's words; empty: it can
};

struct UsbSurvey {
    std::vector<SurveyedInstrument> instruments;
    std::string error;  // the system's list of USB devices could not be had
};

// Every instrument chip on USB, in the order --link usb:N counts them, each tried: opened and
// closed again at once, so that a chip another program holds or the user may not open says so.
UsbSurvey SurveyUsbInstruments();

}  // namespace valdrix::link
