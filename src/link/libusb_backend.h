#pragma once

#include <map>
#include <string>

#include "link/device_backend.h"

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace valdrix::link {

// The instrument's USB interface chip (CH372/CH375 in its built-in firmware mode) through
// libusb-1.0. Device index i is the (first + i)-th chip on USB, counted from 0 in the order of
// bus number and port path. The chip is written on its bulk OUT endpoint 0x02 and never read.
class LibusbBackend : public DeviceBackend {
public:
    explicit LibusbBackend(ULONG firstDevice = 0) : m_firstDevice(firstDevice) {}
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    bool Open(ULONG index) override;
    // Host-side time-outs: 0xFFFFFFFF means none. The link never reads, so only the write's counts.
    bool SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) override;
    bool WriteData(ULONG index, const void* buffer, ULONG* length) override;
    void Close(ULONG index) override;
    std::string LastError() const override { return m_lastError; }
    // Nothing when the last reason already says what to do, as most libusb reasons do.
    std::string Advice() const override { return m_lastErrorAdvises ? std::string() : kUsbAdvice; }

private:
    struct OpenChip {
        libusb_device_handle* handle = nullptr;
        bool driverDetached = false;  // given back to the kernel on close
        unsigned writeTimeoutMs = 0;  // as libusb counts it: 0 is none
    };

    bool Fail(std::string reason, bool advises = true);
    bool EnsureContext();
    bool OpenChipAt(libusb_device* device, const std::string& name, OpenChip& chip);
    bool TakeInterface(OpenChip& chip, const std::string& name);
    bool ClearStall(const OpenChip& chip);
    static void Release(OpenChip& chip);

    ULONG m_firstDevice;
    // Made at the first open, so that a machine whose USB comes up late still gets one, and
    // kept as long as the link.
    libusb_context* m_context = nullptr;
    std::map<ULONG, OpenChip> m_open;
    std::string m_lastError;
    bool m_lastErrorAdvises = false;
};

}  // namespace valdrix::link
