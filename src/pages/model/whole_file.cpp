#include "pages/model/whole_file.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace valdrix::model {

namespace {

std::string SystemError() {
    return std::strerror(errno);
}

// A file of a name no one else uses, beside path, so that the rename stays on one file system.
int CreateBeside(const std::string& path, std::string& created) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = fmt::format("{}.{}-{}.part", path, ::getpid(), serial++);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

std::optional<std::string> WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? SystemError() : "the disk took no more bytes";
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

// The new file keeps the old one's permissions: a file made private stays private.
std::optional<std::string> KeepMode(int fd, const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) return std::nullopt;
    if (::fchmod(fd, old.st_mode & 07777) != 0) return SystemError();
    return std::nullopt;
}

// A disk that is full may take the bytes and fail only when they go to it: fsync and close
// say so, and the old file must not be replaced then.
std::optional<std::string> Fill(int fd, const std::string& path, std::string_view bytes) {
    auto failure = WriteAll(fd, bytes);
    if (!failure) failure = KeepMode(fd, path);
    if (!failure && ::fsync(fd) != 0) failure = SystemError();
    if (::close(fd) != 0 && !failure) failure = SystemError();
    return failure;
}

}  // namespace

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::string created;
    const int fd = CreateBeside(path, created);
    if (fd < 0) return SystemError();
    auto failure = Fill(fd, path, bytes);
    if (!failure && ::rename(created.c_str(), path.c_str()) != 0) failure = SystemError();
    if (failure) ::unlink(created.c_str());
    return failure;
}

}  // namespace valdrix::model
