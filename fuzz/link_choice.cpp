// --link takes any text: it never crashes, and a file link keeps its path as given.
#include "link/link_choice.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace valdrix::link;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto choice = ParseLinkChoice(text);
    if (choice && choice->kind == LinkChoice::Kind::File && "file:" + choice->path != text) {
        std::abort();
    }
    return 0;
}
