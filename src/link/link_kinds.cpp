#include "link/link_kinds.h"

#include <fmt/format.h>

#include <charconv>

#include "link/file_backend.h"
#include "link/libusb_backend.h"
#include "link/simulated_instrument.h"

namespace valdrix::link {

namespace {

constexpr char kUsbPrefix[] = "usb:";
constexpr char kFilePrefix[] = "file:";
// Where the help's descriptions start, past "  --link file:PATH   ".
constexpr std::size_t kHelpColumn = 21;

std::optional<LinkChoice> ParseUsb(std::string_view text) {
    if (text == "usb") return LinkChoice{};
    if (!text.starts_with(kUsbPrefix)) return std::nullopt;
    const std::string_view digits = text.substr(sizeof kUsbPrefix - 1);
    ULONG index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return LinkChoice{LinkChoice::Kind::Usb, index, {}};
}

std::optional<LinkChoice> ParseSimulated(std::string_view text) {
    if (text != "sim") return std::nullopt;
    return LinkChoice{LinkChoice::Kind::Simulated, 0, {}};
}

std::optional<LinkChoice> ParseFile(std::string_view text) {
    if (!text.starts_with(kFilePrefix) || text.size() == sizeof kFilePrefix - 1)
        return std::nullopt;
    return LinkChoice{LinkChoice::Kind::File, 0, std::string(text.substr(sizeof kFilePrefix - 1))};
}

const LinkKind kLinkKinds[] = {
    {LinkChoice::Kind::Usb,
     "usb[:N]",
     "usb, usb:N",
     {"the N-th instrument on USB, counted from 0 (the default: usb:0)"},
     ParseUsb,
     [](const LinkChoice& c) { return fmt::format("{}{}", kUsbPrefix, c.usbIndex); },
     [](const LinkChoice& c) { return fmt::format("USB instrument {}", c.usbIndex); },
     [](const LinkChoice& c) -> std::unique_ptr<DeviceBackend> {
         return std::make_unique<LibusbBackend>(c.usbIndex);
     }},
    {LinkChoice::Kind::Simulated,
     "sim",
     "sim",
     {"the built-in simulated instrument; it echoes what it receives", "to standard error"},
     ParseSimulated,
     [](const LinkChoice&) { return std::string("sim"); },
     [](const LinkChoice&) { return std::string("simulated instrument"); },
     [](const LinkChoice&) -> std::unique_ptr<DeviceBackend> {
         return std::make_unique<SimulatedInstrument>();
     }},
    {LinkChoice::Kind::File,
     "file:PATH",
     "file:PATH",
     {"append every frame the instrument would receive to PATH"},
     ParseFile,
     [](const LinkChoice& c) { return kFilePrefix + c.path; },
     [](const LinkChoice& c) { return "file " + c.path; },
     [](const LinkChoice& c) -> std::unique_ptr<DeviceBackend> {
         return std::make_unique<FileBackend>(c.path);
     }},
};

}  // namespace

std::span<const LinkKind> LinkKinds() {
    return kLinkKinds;
}

std::string LinkUsage() {
    std::string usage;
    for (const LinkKind& kind : LinkKinds()) {
        usage += fmt::format("{}--link {}", usage.empty() ? "[" : " | ", kind.usage);
    }
    return usage + "]";
}

std::string OfferedLinks() {
    const std::span<const LinkKind> kinds = LinkKinds();
    std::string offered;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const char* separator = i == 0 ? "" : i + 1 == kinds.size() ? " or " : ", ";
        offered += separator + std::string(kinds[i].offered);
    }
    return offered;
}

std::string LinkHelp() {
    std::string help;
    for (const LinkKind& kind : LinkKinds()) {
        std::string start = fmt::format("  --link {}", kind.usage);
        for (const char* line : kind.help) {
            help += fmt::format("{:<{}}{}\n", start, kHelpColumn, line);
            start.clear();
        }
    }
    return help;
}

}  // namespace valdrix::link
