#include "link/command_line.h"

#include <fmt/format.h>

namespace valdrix::link {

namespace {

constexpr std::size_t kShownPrefix = 60;

bool IsPrintableAscii(unsigned char byte) { return byte >= 0x20 && byte <= 0x7E; }

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string shown;
    for (unsigned char byte : text.substr(0, kShownPrefix)) {
        shown += IsPrintableAscii(byte) ? std::string(1, static_cast<char>(byte))
                                        : fmt::format("<0x{:02X}>", byte);
    }
    if (text.size() > kShownPrefix) shown += "...";
    return shown;
}

std::optional<std::string> RefusalOf(std::string_view line) {
    if (line.size() > kMaxCommandLine) {
        return fmt::format("The command \"{}\" is {} characters long; the instrument takes at most {}.",
                           PrintableText(line), line.size(), kMaxCommandLine);
    }
    for (std::size_t position = 0; position < line.size(); ++position) {
        const auto byte = static_cast<unsigned char>(line[position]);
        if (!IsPrintableAscii(byte)) {
            return fmt::format(
                "The command \"{}\" holds the character 0x{:02X} at position {}; only printable "
                "ASCII characters can be sent.",
                PrintableText(line), byte, position + 1);
        }
    }
    return std::nullopt;
}

}  // namespace valdrix::link
