#pragma once

#include <memory>
#include <string>

#include "link/device_backend.h"
#include "link/link_choice.h"

namespace valdrix::link {

// What reached the instrument since the program started, counted where the frames leave the
// program, so that the window can say what the last send did.
struct WriteTally {
    unsigned long long linesWritten = 0;
    unsigned long long failedWrites = 0;
    std::string lastFailedLine;  // as sent, without its terminator
    std::string lastFailure;     // why it did not reach the instrument
};

const WriteTally& Writes();

// The backend, with every write it takes or refuses counted in Writes().
std::unique_ptr<DeviceBackend> CountingWrites(std::unique_ptr<DeviceBackend> backend);

// Puts the chosen link, its writes counted, behind the device calls; DropLink takes it away.
void UseLink(const LinkChoice& choice);
void DropLink();

}  // namespace valdrix::link
