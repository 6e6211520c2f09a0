// Every line the link does not refuse can go on the wire as one frame; every message about a
// line can be shown on a terminal as it stands: valid UTF-8 without a character that a terminal
// acts on (the C0 and C1 controls, DEL, the marks that turn the direction of text).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "link/command_line.h"

using namespace valdrix::link;

namespace {

bool Printable(std::string_view text) {
    for (unsigned char byte : text) {
        if (byte < 0x20 || byte > 0x7E) return false;
    }
    return true;
}

bool ShownAsItStands(char32_t code) {
    return code >= 0x20 && !(code >= 0x7F && code <= 0x9F) && code != 0x200E && code != 0x200F &&
           code != 0x2028 && code != 0x2029 && !(code >= 0x202A && code <= 0x202E) &&
           !(code >= 0x2066 && code <= 0x2069) && !(code >= 0xD800 && code <= 0xDFFF);
}

// Decodes the text as UTF-8, refusing overlong forms, and checks each character.
bool SafeOnATerminal(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || at + length > text.size()) return false;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || !ShownAsItStands(code)) return false;
        at += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto refusal = RefusalOf(line);
    if (!refusal && (line.size() > kMaxCommandLine || !Printable(line))) std::abort();
    if (refusal && !SafeOnATerminal(*refusal)) std::abort();
    if (!Printable(PrintableText(line))) std::abort();
    return 0;
}
