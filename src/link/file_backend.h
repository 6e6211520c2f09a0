#pragma once

#include <string>

#include "link/device_backend.h"

namespace valdrix::link {

// Appends every frame, byte for byte, to a file: for scripted runs and end-to-end tests. The
// file may be a FIFO: opening it never waits for a reader, and a write that the reader does not
// take within the write time-out fails like a stalled instrument.
class FileBackend : public DeviceBackend {
public:
    explicit FileBackend(std::string path) : m_path(std::move(path)) {}
    ~FileBackend() override;
    FileBackend(const FileBackend&) = delete;
    FileBackend& operator=(const FileBackend&) = delete;

    bool Open(ULONG index) override;
    bool SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) override;
    bool WriteData(ULONG index, const void* buffer, ULONG* length) override;
    void Close(ULONG index) override;
    std::string LastError() const override { return m_lastError; }
    std::string Advice() const override { return m_advice; }

private:
    bool Fail(const std::string& what, int error);
    // Waits until the file takes more bytes; false when the write time-out ran out first.
    bool WaitWritable(int remainingMs) const;

    std::string m_path;
    int m_fd = -1;
    unsigned m_writeTimeoutMs = 5000;
    std::string m_lastError;
    std::string m_advice = kGeneralAdvice;

    static constexpr char kGeneralAdvice[] =
        "Check that the file can be written (folder, permissions, free space) and, for a FIFO, "
        "that its reader is running; then try again.";
};

}  // namespace valdrix::link
