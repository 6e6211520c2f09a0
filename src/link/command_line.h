#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace valdrix::link {

// The longest command line: with its terminator and a closing zero it fills the line buffer.
inline constexpr std::size_t kMaxCommandLine = 1022;

// Why a command line cannot go to the instrument, or nothing when it can. A line holds
// printable ASCII only: a line feed inside it would split one command in two on the wire, and
// a zero byte would cut it short.
std::optional<std::string> RefusalOf(std::string_view line);

// Text as an operator can read it in a message, whatever it holds: bytes other than printable
// ASCII as <0xNN>, and cut after 60 characters.
std::string PrintableText(std::string_view text);

}  // namespace valdrix::link
