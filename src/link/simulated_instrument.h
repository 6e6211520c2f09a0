#pragma once

#include <string>
#include <vector>

#include "link/device_backend.h"

namespace valdrix::link {

// An instrument inside the program: it takes every frame, keeps it, and echoes it to standard
// error so that a demonstration shows what a real instrument would have received.
class SimulatedInstrument : public DeviceBackend {
public:
    explicit SimulatedInstrument(bool echo = true) : m_echo(echo) {}

    bool Open(ULONG index) override;
    bool SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) override;
    bool WriteData(ULONG index, const void* buffer, ULONG* length) override;
    void Close(ULONG index) override;
    std::string LastError() const override { return m_lastError; }

    const std::vector<std::string>& Frames() const { return m_frames; }

private:
    bool m_echo;
    bool m_open = false;
    std::vector<std::string> m_frames;
    std::string m_lastError;
};

}  // namespace valdrix::link
