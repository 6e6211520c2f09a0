#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "link/device_backend.h"
#include "link/instrument.h"

namespace valdrix::link {

using HANDLE = std::intptr_t;
inline constexpr HANDLE INVALID_HANDLE_VALUE = -1;
inline constexpr ULONG kNoTimeout = 0xFFFFFFFF;

// The device calls of the USB interface chip's library, dispatched to the installed backend.
HANDLE CH375OpenDevice(ULONG index);
bool CH375SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs);
bool CH375WriteData(ULONG index, const void* buffer, ULONG* length);
void CH375CloseDevice(ULONG index);

// Beyond the chip's library: whether a device is open, and why the last call failed.
bool CH375IsDeviceOpen(ULONG index);
std::string CH375LastError();
// Whether a write was cut short on the device and no line end has followed it yet: the
// instrument holds the start of a line that the next command would be glued to.
// With the link's marker in place, this covers the line ends owed by earlier runs too.
bool CH375OwesLineEnd(ULONG index);
// Why the owed line end could not be kept for the next program on the link, if it could not.
std::optional<std::string> CH375SetOwesLineEnd(ULONG index, bool owes);

}  // namespace valdrix::link
