#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace valdrix::model {

// The header of a command line: its first word, up to the first blank ("AM:STATe" of
// "AM:STATe ON", "*IDN?" of "*IDN?").
std::string_view HeaderOf(std::string_view line);

// Whether header names the same command as pattern, as an SCPI instrument reads it: node by
// node, each node either in its short form (the capitals of the pattern's node, "STAT" of
// "STATe") or in full, in any case; a leading colon is optional, and a query's "?" must be on
// both or neither. "am:stat", "AM:STATe" and ":Am:State" all name "AM:STATe".
bool HeaderMatches(std::string_view pattern, std::string_view header);

// One message unit of a line that joins several with ";" ("FREQ 1000;AM:STAT ON"): its text
// without the blanks before it, the header as written, and the header with the path that the
// units before it left, as the instrument reads it ("DEPT" after "AM:STAT ON" is "AM:DEPT").
struct MessageUnit {
    std::string text;
    std::string header;
    std::string fullHeader;
};

// The units of a line in their order; a ";" inside a quoted string does not split it, and blank
// units are left out.
std::vector<MessageUnit> MessageUnits(std::string_view line);

// How long the panel waits after a line with this header before it writes the next one, in
// milliseconds, taken from the pages' sequences; nothing when no page waits after it.
std::optional<unsigned> PanelPauseAfter(std::string_view header);

}  // namespace valdrix::model
