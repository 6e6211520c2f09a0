#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/device_backend.h"

namespace valdrix::link {

// Which transport an instrument reaches, as given on the command line: "usb" or "usb:N" (the
// N-th instrument, from 0), "sim", or "file:PATH". The kinds are rows of LinkKinds().
struct LinkChoice {
    enum class Kind { Usb, Simulated, File } kind = Kind::Usb;
    ULONG usbIndex = 0;
    std::string path;
};

std::optional<LinkChoice> ParseLinkChoice(std::string_view text);
// The link as --link spells it: "usb:0", "sim", "file:/tmp/x".
std::string LinkSpelling(const LinkChoice& choice);
// How the window names the link: "USB instrument 0", "simulated instrument", "file /tmp/x".
std::string LinkName(const LinkChoice& choice);
std::unique_ptr<DeviceBackend> MakeBackend(const LinkChoice& choice);

}  // namespace valdrix::link
