#pragma once

#include <cstdint>
#include <string>

namespace valdrix::link {

using ULONG = std::uint32_t;
// A time-out of this many milliseconds is none: the call waits as long as it takes.
inline constexpr ULONG kNoTimeout = 0xFFFFFFFF;

// What lies behind the device calls: the USB chip, the simulated instrument, a file, or a
// test's recorder. Every failure leaves a reason that an operator can act on in LastError().
class DeviceBackend {
public:
    virtual ~DeviceBackend() = default;

    virtual bool Open(ULONG index) = 0;
    virtual bool SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) = 0;
    // Writes *length bytes; *length is then what was written, also when the write failed
    // part-way. Fewer bytes than asked is a failure that the caller reports.
    virtual bool WriteData(ULONG index, const void* buffer, ULONG* length) = 0;
    virtual void Close(ULONG index) = 0;
    virtual std::string LastError() const = 0;
    // What the operator can do after a failure on this link; nothing when the reason in
    // LastError() says it already.
    virtual std::string Advice() const { return kUsbAdvice; }

    static constexpr char kUsbAdvice[] = "Check the instrument and its USB cable, then try again.";
};

}  // namespace valdrix::link
