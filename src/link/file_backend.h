#pragma once

#include <cstdio>
#include <string>

#include "link/device_backend.h"

// Appends every frame, byte for byte, to a file: for scripted runs and end-to-end tests.
class FileBackend : public DeviceBackend {
public:
    explicit FileBackend(std::string path) : m_path(std::move(path)) {}
    ~FileBackend() override;

    bool Open(ULONG index) override;
    bool SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) override;
    bool WriteData(ULONG index, const void* buffer, ULONG* length) override;
    void Close(ULONG index) override;
    std::string LastError() const override { return m_lastError; }
    std::string Advice() const override {
        return "Check that the file can be written (folder, permissions, free space), then try "
               "again.";
    }

private:
    std::string m_path;
    std::FILE* m_file = nullptr;
    std::string m_lastError;
};
