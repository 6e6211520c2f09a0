#include "link/link_status.h"

#include <fmt/format.h>

#include <string_view>
#include <utility>

namespace valdrix::link {

namespace {

std::string LineOf(const void* frame, ULONG length) {
    std::string_view line(static_cast<const char*>(frame), length);
    if (line.ends_with('\n')) line.remove_suffix(1);
    return std::string(line);
}

}  // namespace

void WriteCounter::Count(const void* frame, ULONG wanted, bool written, ULONG length,
                         const std::string& deviceError) {
    const bool lineEnd = wanted == 1 && *static_cast<const char*>(frame) == '\n';
    const bool whole = written && length == wanted;
    // The line end that follows a cut-short line at once is part of that line's failure,
    // which stays the one named.
    const bool afterCut = std::exchange(m_lastFrameFailed, !whole && !lineEnd);
    if (whole) {
        if (!lineEnd) ++m_tally.linesWritten;
        return;
    }
    ++m_tally.failedWrites;
    if (lineEnd && afterCut) return;
    m_tally.lastFailed = lineEnd ? std::string("the line end owed since an earlier send")
                                 : "\"" + LineOf(frame, wanted) + "\"";
    m_tally.lastFailure =
        written ? fmt::format("only {} of {} bytes reached the instrument", length, wanted)
                : deviceError;
}

}  // namespace valdrix::link
