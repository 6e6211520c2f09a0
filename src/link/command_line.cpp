#include "link/command_line.h"

#include <fmt/format.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace valdrix::link {

namespace {

constexpr std::size_t kShownPrefix = 60;

bool IsPrintableAscii(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E;
}

// The length of the UTF-8 sequence that starts at the text's front and the code point it
// encodes, or nothing when it is not valid UTF-8 (overlong forms and surrogates included).
std::optional<std::pair<std::size_t, char32_t>> Utf8CharacterAt(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) return std::nullopt;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    return std::pair{length, code};
}

// Characters that a terminal or a text box would act on rather than show: the C1 controls (0x9B
// starts a terminal's escape sequence), the line and paragraph separators, and the marks that
// turn the direction of the text around them.
bool ActsRatherThanShows(char32_t code) {
    return code <= 0x9F || code == 0x200E || code == 0x200F || code == 0x2028 || code == 0x2029 ||
           (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// A character as the operator typed it, with its code point; one that would act on the
// message's reader by its code point alone; a byte that starts no UTF-8 character, and an
// ASCII control character, by its value.
std::string NameOfCharacterAt(std::string_view rest) {
    const auto byte = static_cast<unsigned char>(rest.front());
    const auto character = byte >= 0x80 ? Utf8CharacterAt(rest) : std::nullopt;
    if (!character) return fmt::format("the character 0x{:02X}", byte);
    const auto code = static_cast<std::uint32_t>(character->second);
    if (ActsRatherThanShows(character->second)) return fmt::format("the character U+{:04X}", code);
    return fmt::format("\"{}\" (U+{:04X})", rest.substr(0, character->first), code);
}

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
        return fmt::format(
            "The command \"{}\" is {} characters long; the instrument takes at most {}.",
            PrintableText(line), line.size(), kMaxCommandLine);
    }
    for (std::size_t position = 0; position < line.size(); ++position) {
        const auto byte = static_cast<unsigned char>(line[position]);
        if (!IsPrintableAscii(byte)) {
            return fmt::format(
                "The command \"{}\" holds {} at position {}; only printable ASCII characters can "
                "be sent.",
                PrintableText(line), NameOfCharacterAt(line.substr(position)), position + 1);
        }
    }
    return std::nullopt;
}

}  // namespace valdrix::link
