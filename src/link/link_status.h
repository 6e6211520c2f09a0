#pragma once

#include <memory>
#include <string>

#include "link/device_backend.h"
#include "link/link_choice.h"

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

const WriteTally& Writes();

// The backend, with every write it takes or refuses counted in Writes().
std::unique_ptr<DeviceBackend> CountingWrites(std::unique_ptr<DeviceBackend> backend);

// Puts the chosen link, its writes counted, behind the device calls; DropLink takes it away.
void UseLink(const LinkChoice& choice);
void DropLink();

}  // namespace valdrix::link
