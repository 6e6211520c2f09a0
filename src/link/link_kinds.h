#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/device_backend.h"
#include "link/link_choice.h"

namespace valdrix::link {

// One kind of link: how --link spells it, how it is read and written back, how the help
// describes it and how its transport is made. Adding a link kind is one row of LinkKinds().
struct LinkKind {
    LinkChoice::Kind kind;
    // The value in a usage line, "usb[:N]", and in the list an error offers, "usb, usb:N".
    const char* usage;
    const char* offered;
    // The help's description, one line of text a line.
    std::vector<const char*> help;
    std::optional<LinkChoice> (*parse)(std::string_view text);
    std::string (*spelling)(const LinkChoice& choice);
    // How the window names the link: "USB instrument 0".
    std::string (*name)(const LinkChoice& choice);
    std::unique_ptr<DeviceBackend> (*transport)(const LinkChoice& choice);
};

// Every link kind, in the order the help lists them.
std::span<const LinkKind> LinkKinds();

// "[--link usb[:N] | --link sim | --link file:PATH]"
std::string LinkUsage();
// "usb, usb:N, sim or file:PATH": what an error about --link offers.
std::string OfferedLinks();
// The help's lines for --link, each ended by a line feed, descriptions from column 21.
std::string LinkHelp();

}  // namespace valdrix::link
