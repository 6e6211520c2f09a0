#include "link/link_choice.h"

#include <charconv>
#include <fmt/format.h>

#include "link/file_backend.h"
#include "link/libusb_backend.h"
#include "link/simulated_instrument.h"

namespace valdrix::link {

std::optional<LinkChoice> ParseLinkChoice(std::string_view text) {
    if (text == "sim") return LinkChoice{LinkChoice::Kind::Simulated, 0, {}};
    if (text.starts_with("file:") && text.size() > 5) {
        return LinkChoice{LinkChoice::Kind::File, 0, std::string(text.substr(5))};
    }
    if (text == "usb") return LinkChoice{};
    if (text.starts_with("usb:")) {
        const std::string_view digits = text.substr(4);
        ULONG index = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size()) {
            return LinkChoice{LinkChoice::Kind::Usb, index, {}};
        }
    }
    return std::nullopt;
}

std::string LinkName(const LinkChoice& choice) {
    switch (choice.kind) {
        case LinkChoice::Kind::Simulated: return "simulated instrument";
        case LinkChoice::Kind::File: return "file " + choice.path;
        case LinkChoice::Kind::Usb: break;
    }
    return fmt::format("USB instrument {}", choice.usbIndex);
}

std::string LinkSpelling(const LinkChoice& choice) {
    switch (choice.kind) {
        case LinkChoice::Kind::Usb: return fmt::format("usb:{}", choice.usbIndex);
        case LinkChoice::Kind::Simulated: return "sim";
        case LinkChoice::Kind::File: return "file:" + choice.path;
    }
    return {};
}

std::unique_ptr<DeviceBackend> MakeBackend(const LinkChoice& choice) {
    switch (choice.kind) {
        case LinkChoice::Kind::Simulated: return std::make_unique<SimulatedInstrument>();
        case LinkChoice::Kind::File: return std::make_unique<FileBackend>(choice.path);
        case LinkChoice::Kind::Usb: break;
    }
    return std::make_unique<LibusbBackend>(choice.usbIndex);
}

}  // namespace valdrix::link
