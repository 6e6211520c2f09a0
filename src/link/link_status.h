#pragma once

#include <string>

#include "link/device_backend.h"

namespace valdrix::link {

// What reached the instrument since the program started, counted where the frames leave the
// program, so that the window can say what the last send did.
struct WriteTally {
    // Command lines only: the lone line end that drops a cut-short line's start is none.
    unsigned long long linesWritten = 0;
    unsigned long long failedWrites = 0;
    // What did not reach the instrument: the command line in quotes, without its terminator,
    // or the line end owed since an earlier send.
    std::string lastFailed;
    std::string lastFailure;  // why it did not reach the instrument
};

// Counts every write a link takes or refuses into its tally.
class WriteCounter {
public:
    const WriteTally& Tally() const { return m_tally; }

    // A device opened anew owes nothing to a failure before.
    void Opened() { m_lastFrameFailed = false; }
    // One write of wanted bytes of frame: whether the device took it, how many bytes it took,
    // and the device's reason when it did not take it.
    void Count(const void* frame, ULONG wanted, bool written, ULONG length,
               const std::string& deviceError);

private:
    WriteTally m_tally;
    bool m_lastFrameFailed = false;
};

}  // namespace valdrix::link
