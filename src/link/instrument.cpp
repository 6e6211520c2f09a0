#include "link/instrument.h"

#include "link/ch375.h"

namespace valdrix::link {

OpenResult OpenInstrument(bool keepOnTimeoutFailure) {
    if (CH375OpenDevice(kInstrumentDevice) == INVALID_HANDLE_VALUE) return OpenResult::NoDevice;
    if (!CH375SetTimeout(kInstrumentDevice, kWriteTimeoutMs, kReadTimeoutMs)) {
        if (!keepOnTimeoutFailure) CH375CloseDevice(kInstrumentDevice);
        return OpenResult::TimeoutFailed;
    }
    return OpenResult::Opened;
}

bool EnsureInstrumentOpen() {
    return CH375IsDeviceOpen(kInstrumentDevice) || OpenInstrument(false) == OpenResult::Opened;
}

void CloseInstrument() {
    if (CH375IsDeviceOpen(kInstrumentDevice)) CH375CloseDevice(kInstrumentDevice);
}

bool InstrumentIsOpen() { return CH375IsDeviceOpen(kInstrumentDevice); }

std::string WhyInstrumentIsClosed() { return CH375LastError(); }

void FollowPlugging(bool instrumentPresent) {
    if (!instrumentPresent && InstrumentIsOpen()) CH375CloseDevice(kInstrumentDevice);
    EnsureInstrumentOpen();
}

}  // namespace valdrix::link
