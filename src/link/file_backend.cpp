#include "link/file_backend.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace valdrix::link {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

FileBackend::~FileBackend() {
    Close(0);
}

namespace {

// What the operator can do about a file that cannot be opened or written.
const char* AdviceFor(int error) {
    switch (error) {
        case ENXIO: return "Start the program that reads the FIFO, then try again.";
        case EACCES:
        case EPERM:
        case EROFS:
            return "Choose a file this user may write, or change the permissions of this one; "
                   "then try again.";
        case ENOENT:
        case ENOTDIR: return "Create the folder the file is to be in, or choose another file.";
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return "Make room on the disk, or choose a file elsewhere; then try again.";
        case EPIPE: return "The FIFO's reader went away: start it again, then try again.";
        default: return nullptr;
    }
}

}  // namespace

bool FileBackend::Fail(const std::string& what, int error) {
    m_lastError = error == ENXIO
                      ? fmt::format("{} {}: no program is reading the FIFO", what, m_path)
                      : fmt::format("{} {}: {}", what, m_path, std::strerror(error));
    const char* advice = AdviceFor(error);
    m_advice = advice != nullptr ? advice : kGeneralAdvice;
    return false;
}

bool FileBackend::Open(ULONG index) {
    if (index != 0) {
        m_lastError = "the file link is device 0";
        return false;
    }
    Close(index);
    // Non-blocking, so that a FIFO nobody reads fails at once instead of hanging the program.
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    return m_fd >= 0 || Fail("cannot open", errno);
}

bool FileBackend::SetTimeout(ULONG, ULONG writeTimeoutMs, ULONG) {
    m_writeTimeoutMs = writeTimeoutMs;
    return m_fd >= 0;
}

bool FileBackend::WaitWritable(int remainingMs) const {
    if (remainingMs <= 0) return false;
    pollfd ready{m_fd, POLLOUT, 0};
    return ::poll(&ready, 1, remainingMs) > 0;
}

bool FileBackend::WriteData(ULONG, const void* buffer, ULONG* length) {
    const ULONG wanted = *length;
    *length = 0;
    if (m_fd < 0) {
        m_lastError = fmt::format("{} is not open", m_path);
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_writeTimeoutMs);
    const auto* bytes = static_cast<const char*>(buffer);
    while (*length < wanted) {
        const ssize_t written = ::write(m_fd, bytes + *length, wanted - *length);
        if (written > 0) {
            *length += static_cast<ULONG>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return Fail("cannot write to", errno);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (!WaitWritable(static_cast<int>(left.count()))) {
            m_lastError = fmt::format("{} took nothing for {} ms", m_path, m_writeTimeoutMs);
            m_advice = "Check that the FIFO's reader is still reading, then try again.";
            return false;
        }
    }
    return true;
}

void FileBackend::Close(ULONG) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace valdrix::link
