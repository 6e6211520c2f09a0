#include "link/send_line.h"

#include <cstring>
#include <fmt/format.h>

#include "link/ch375.h"
#include "link/command_line.h"

namespace valdrix::link {

namespace {

bool WriteLineEnd(ULONG device) {
    const char end = kTerminator;
    ULONG length = 1;
    return CH375WriteData(device, &end, &length) && length == 1;
}

// Ends the line that a cut-short write left at the instrument; the reason when it could not.
std::string ResyncAfterCut(ULONG device, ULONG written, ULONG wanted) {
    const std::string cut = fmt::format("only {} of {} bytes reached the instrument", written, wanted);
    if (WriteLineEnd(device)) {
        return cut + "; a line end followed, so the instrument drops that fragment";
    }
    const auto notKept = CH375SetOwesLineEnd(device, true);
    return cut + "; the line end that makes the instrument drop them could not follow, so it "
                 "goes before the next command" +
           (notKept ? " of this run only (it could not be kept for the next: " + *notKept + ")"
                    : std::string());
}

WriteResult Failed(ULONG device, std::string reason, ULONG written = 0) {
    CH375CloseDevice(device);
    return {false, std::move(reason), written};
}

}  // namespace

WriteResult SendLine(LineBuffer& buffer, std::string_view line, ULONG device) {
    if (!buffer.IsValid()) return {false, "no memory for the line buffer"};
    if (line.size() > kMaxCommandLine) return {false, "the line does not fit the line buffer"};
    if (CH375OwesLineEnd(device)) {
        if (!WriteLineEnd(device)) {
            return Failed(device, "the line end owed to the earlier, cut-short command could not "
                                  "be sent: " + CH375LastError());
        }
        // A marker left behind costs the next run one empty line, which the instrument passes
        // over: the line end itself went out.
        CH375SetOwesLineEnd(device, false);
    }
    char* frame = buffer.Data();
    std::memcpy(frame, line.data(), line.size());
    frame[line.size()] = kTerminator;
    frame[line.size() + 1] = '\0';
    const ULONG wanted = static_cast<ULONG>(line.size() + 1);
    ULONG length = wanted;
    const bool accepted = CH375WriteData(device, frame, &length);
    if (accepted && length == wanted) return {true, {}, wanted};
    const ULONG written = length < wanted ? length : 0;
    if (written == 0) return Failed(device, CH375LastError());
    const std::string reason = accepted ? std::string() : CH375LastError() + "; ";
    return Failed(device, reason + ResyncAfterCut(device, written, wanted), written);
}

}  // namespace valdrix::link
