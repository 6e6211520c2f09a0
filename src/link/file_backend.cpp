#include "link/file_backend.h"

#include <cerrno>
#include <cstring>
#include <fmt/format.h>

FileBackend::~FileBackend() { Close(0); }

bool FileBackend::Open(ULONG index) {
    if (index != 0) {
        m_lastError = "the file link is device 0";
        return false;
    }
    Close(index);
    m_file = std::fopen(m_path.c_str(), "ab");
    if (m_file == nullptr) {
        m_lastError = fmt::format("cannot open {}: {}", m_path, std::strerror(errno));
        return false;
    }
    return true;
}

bool FileBackend::SetTimeout(ULONG, ULONG, ULONG) { return m_file != nullptr; }

bool FileBackend::WriteData(ULONG, const void* buffer, ULONG* length) {
    if (m_file == nullptr) {
        m_lastError = fmt::format("{} is not open", m_path);
        *length = 0;
        return false;
    }
    const std::size_t written = std::fwrite(buffer, 1, *length, m_file);
    // Flushed at once: whoever reads the file sees each frame as soon as it is written.
    const bool flushed = std::fflush(m_file) == 0;
    if (written != *length || !flushed) {
        m_lastError = fmt::format("cannot write to {}: {}", m_path, std::strerror(errno));
        *length = static_cast<ULONG>(written);
        return false;
    }
    return true;
}

void FileBackend::Close(ULONG) {
    if (m_file != nullptr) std::fclose(m_file);
    m_file = nullptr;
}
