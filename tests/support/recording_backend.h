#pragma once

#include <memory>
#include <string>
#include <vector>

#include "link/device_backend.h"
#include "pages/model/pause.h"

using valdrix::link::DeviceBackend;
using valdrix::link::ULONG;

// What reached the instrument and the pauses between, in the order they happened: each write
// as its frame ("*RST\n"), each pause as "pause 300".
struct Timeline {
    std::vector<std::string> events;

    std::vector<std::string> Frames() const;
};

// What the recorder is told to do, and what it was asked.
struct DeviceScript {
    bool openFails = false;
    bool timeoutFails = false;
    int failWrite = 0;  // the k-th write (from 1) fails; 0: none
    bool failAllWrites = false;
    ULONG shortBy = 0;          // the failing write takes this many bytes fewer...
    bool shortIsError = false;  // ...and reports an error rather than success
    std::string failReason = "the instrument was unplugged";

    int opens = 0;
    int closes = 0;
    int writes = 0;
    std::vector<std::pair<ULONG, ULONG>> timeouts;  // write, read
    std::vector<ULONG> lengths;                     // each write's length as passed
};

class RecordingBackend : public DeviceBackend {
public:
    RecordingBackend(std::shared_ptr<DeviceScript> script, std::shared_ptr<Timeline> timeline)
        : m_script(std::move(script)), m_timeline(std::move(timeline)) {}

    bool Open(ULONG index) override;
    bool SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) override;
    bool WriteData(ULONG index, const void* buffer, ULONG* length) override;
    void Close(ULONG index) override;
    std::string LastError() const override { return m_lastError; }

private:
    std::shared_ptr<DeviceScript> m_script;
    std::shared_ptr<Timeline> m_timeline;
    std::string m_lastError;
};

// Records each pause on the timeline and returns at once.
class VirtualClock : public valdrix::model::PauseClock {
public:
    explicit VirtualClock(std::shared_ptr<Timeline> timeline) : m_timeline(std::move(timeline)) {}
    void Sleep(unsigned milliseconds) override;

private:
    std::shared_ptr<Timeline> m_timeline;
};
