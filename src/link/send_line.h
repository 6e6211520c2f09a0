#pragma once

#include <string>
#include <string_view>

#include "link/device_backend.h"
#include "link/instrument.h"
#include "link/line_buffer.h"

namespace valdrix::link {

inline constexpr char kTerminator = 0x0A;

struct WriteResult {
    bool written = false;
    std::string reason;      // why the frame did not reach the instrument
    ULONG bytesWritten = 0;  // of the failed frame, before it failed
};

// Frames one command line (the line, then 0x0A) in the send's buffer and writes it to the
// instrument. An instrument whose write failed is closed, so that the next send opens it anew.
// A frame cut short leaves the start of a line at the instrument: a lone line end follows at
// once so that the instrument drops it, or, when that fails too, before the next frame.
// The line must have passed RefusalOf.
WriteResult SendLine(Instrument& instrument, LineBuffer& buffer, std::string_view line);

}  // namespace valdrix::link
