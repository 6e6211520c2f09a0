#include "app/link_messages.h"

#include <fmt/format.h>

#include <cctype>

namespace valdrix::gui {

using namespace valdrix::link;

namespace {

constexpr char kNotOpen[] = "Please first open the USB devices";
constexpr char kSimulatedHint[] =
    "To prepare and browse the pages with no instrument, choose \"Simulated instrument\" in the "
    "Instrument menu of the window's context menu (right click).";

}  // namespace

std::string WithReason(const char* what, const std::string& reason) {
    return fmt::format("{}\n\n{}.", what, reason);
}

// The chip is named on the USB link only; another link names its file and the reason, and says
// what to do about it.
std::string OpenFailureText(const Instrument& instrument, const LinkChoice& link) {
    if (link.kind == LinkChoice::Kind::Usb) {
        return fmt::format("{}\n\n{}", WithReason("Open CH372 failure", instrument.LastError()),
                           kSimulatedHint);
    }
    std::string reason = instrument.LastError();
    if (!reason.empty()) {
        reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    }
    return fmt::format("{}.\n\n{}\n\n{}", reason, instrument.Advice(), kSimulatedHint);
}

std::string NotOpenText(const LinkChoice& link) {
    return link.kind == LinkChoice::Kind::Usb ? std::string(kNotOpen)
                                              : "Please first open the " + LinkName(link);
}

}  // namespace valdrix::gui
