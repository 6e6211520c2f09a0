#include "link/send_line.h"

#include <cstring>
#include <fmt/format.h>

#include "link/ch375.h"
#include "link/command_line.h"

WriteResult SendLine(LineBuffer& buffer, std::string_view line, ULONG device) {
    if (!buffer.IsValid()) return {false, "no memory for the line buffer"};
    if (line.size() > kMaxCommandLine) return {false, "the line does not fit the line buffer"};
    char* frame = buffer.Data();
    std::memcpy(frame, line.data(), line.size());
    frame[line.size()] = kTerminator;
    frame[line.size() + 1] = '\0';
    ULONG length = static_cast<ULONG>(line.size() + 1);
    const ULONG wanted = length;
    const bool accepted = CH375WriteData(device, frame, &length);
    if (accepted && length == wanted) return {true, {}};
    WriteResult failure{false, accepted ? fmt::format("only {} of {} bytes reached the instrument",
                                                      length, wanted)
                                        : CH375LastError()};
    CH375CloseDevice(device);
    return failure;
}
