// The edit fields' number parsers take any text the operator can type: they never crash, and
// what they accept is a finite number that prints back as one.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pages/model/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto number = valdrix::model::ParseDouble(text)) {
        if (!std::isfinite(*number)) std::abort();
        if (!valdrix::model::ParseDouble(valdrix::model::FormatDouble(*number))) std::abort();
    }
    valdrix::model::ParseInt(text);
    return 0;
}
