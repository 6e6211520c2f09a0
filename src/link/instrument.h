#pragma once

#include <memory>
#include <string>

#include "link/device_backend.h"
#include "link/link_choice.h"

namespace valdrix::link {

// The instrument's device index and the time-outs it is opened with. A write that the
// instrument does not take within 5 s is a failed write: the program must never hang on a
// stalled instrument.
inline constexpr ULONG kInstrumentDevice = 0;
inline constexpr ULONG kWriteTimeoutMs = 5000;
inline constexpr ULONG kReadTimeoutMs = 4000;

// Installs the backend that the instrument's calls reach and returns the previous one. With
// none installed every call fails.
std::unique_ptr<DeviceBackend> InstallDeviceBackend(std::unique_ptr<DeviceBackend> backend);

// The installed link's owed line end is kept where the next run of any of the programs on the
// same link finds it; installing another backend forgets where.
void KeepOwedLineEndsAcrossRuns(const LinkChoice& choice);

enum class OpenResult { Opened, NoDevice, TimeoutFailed };

// Opens the instrument and sets its time-outs. A device whose time-outs could not be set
// stays open when keepOnTimeoutFailure is true (start-up), and is closed again otherwise.
OpenResult OpenInstrument(bool keepOnTimeoutFailure);

// True when the instrument is open, opening it again if a failed write had closed it.
bool EnsureInstrumentOpen();

// Closes the instrument if it is open.
void CloseInstrument();

// What the operator can do about a failure on the link in use.
std::string InstrumentAdvice();

bool InstrumentIsOpen();

// Why the instrument is not open and what to do about it, in the words the README's table
// looks them up by.
std::string WhyInstrumentIsClosed();

// After a plug or an unplug: an instrument that went away is closed, one that came is opened.
void FollowPlugging(bool instrumentPresent);

}  // namespace valdrix::link
