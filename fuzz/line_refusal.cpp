// Every line the link does not refuse can go on the wire as one frame; every message about a
// line can be shown on a terminal as it stands.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto refusal = RefusalOf(line);
    if (!refusal && (line.size() > kMaxCommandLine || !Printable(line))) std::abort();
    if (refusal && !Printable(*refusal)) std::abort();
    if (!Printable(PrintableText(line))) std::abort();
    return 0;
}
