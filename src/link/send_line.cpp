#include "link/send_line.h"

#include <fmt/format.h>

#include <cstring>

#include "link/command_line.h"

namespace valdrix::link {

namespace {

bool WriteLineEnd(Instrument& instrument) {
    const char end = kTerminator;
    ULONG length = 1;
    return instrument.Write(&end, &length) && length == 1;
}

// Ends the line that a cut-short write left at the instrument; the reason when it could not.
std::string ResyncAfterCut(Instrument& instrument, ULONG written, ULONG wanted) {
    const std::string cut =
        fmt::format("only {} of {} bytes reached the instrument", written, wanted);
    if (WriteLineEnd(instrument)) {
        return cut + "; a line end followed, so the instrument drops that fragment";
    }
    const auto notKept = instrument.SetOwesLineEnd(true);
    return cut +
           "; the line end that makes the instrument drop them could not follow, so it "
           "goes before the next command" +
           (notKept ? " of this run only (it could not be kept for the next: " + *notKept + ")"
                    : std::string());
}

WriteResult Failed(Instrument& instrument, std::string reason, ULONG written = 0) {
    instrument.Close();
    return {false, std::move(reason), written};
}

}  // namespace

WriteResult SendLine(Instrument& instrument, LineBuffer& buffer, std::string_view line) {
    if (!buffer.IsValid()) return {false, "no memory for the line buffer"};
    if (line.size() > kMaxCommandLine) return {false, "the line does not fit the line buffer"};
    if (instrument.OwesLineEnd()) {
        if (!WriteLineEnd(instrument)) {
            return Failed(instrument,
                          "the line end owed to the earlier, cut-short command could not "
                          "be sent: " +
                              instrument.LastError());
        }
        // A marker left behind costs the next run one empty line, which the instrument passes
        // over: the line end itself went out.
        instrument.SetOwesLineEnd(false);
    }
    char* frame = buffer.Data();
    std::memcpy(frame, line.data(), line.size());
    frame[line.size()] = kTerminator;
    frame[line.size() + 1] = '\0';
    const ULONG wanted = static_cast<ULONG>(line.size() + 1);
    ULONG length = wanted;
    const bool accepted = instrument.Write(frame, &length);
    if (accepted && length == wanted) return {true, {}, wanted};
    const ULONG written = length < wanted ? length : 0;
    if (written == 0) return Failed(instrument, instrument.LastError());
    const std::string reason = accepted ? std::string() : instrument.LastError() + "; ";
    return Failed(instrument, reason + ResyncAfterCut(instrument, written, wanted), written);
}

}  // namespace valdrix::link
