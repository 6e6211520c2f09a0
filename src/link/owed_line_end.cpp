#include "link/owed_line_end.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace valdrix::link {

namespace {

// A file name may not hold "/" and is at most 255 bytes: the spelling is escaped, and a long
// one cut and told apart by a hash of the whole.
constexpr std::size_t kLongestName = 200;

std::string FolderOfMarkers() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime == '/')
        return std::string(runtime) + "/valdrix-owed-line-ends";
    return fmt::format("{}/valdrix-{}-owed-line-ends",
                       std::filesystem::temp_directory_path().string(), ::getuid());
}

// One link has one spelling from whichever folder a program runs in.
std::string KeyOf(const LinkChoice& link) {
    if (link.kind != LinkChoice::Kind::File) return LinkSpelling(link);
    std::error_code ignored;
    return "file:" + std::filesystem::absolute(link.path, ignored).lexically_normal().string();
}

std::uint64_t Hash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

std::string FileNameOf(const std::string& key) {
    std::string name;
    for (const unsigned char c : key) {
        const bool plain = std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.';
        name += plain ? std::string(1, static_cast<char>(c)) : fmt::format("%{:02X}", c);
    }
    if (name.size() <= kLongestName) return name;
    return fmt::format("{}~{:016x}", name.substr(0, kLongestName), Hash(key));
}

// The folder must be this user's own and no one else's: a marker another user could place
// would put bytes on this user's link.
std::optional<std::string> WhyNotPrivate(const std::string& folder) {
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0)
        return fmt::format("{}: {}", folder, std::strerror(errno));
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid() || (status.st_mode & 077) != 0) {
        return fmt::format("{} is not a private folder of this user", folder);
    }
    return std::nullopt;
}

}  // namespace

OwedLineEndMarker::OwedLineEndMarker(const LinkChoice& link)
    : m_folder(FolderOfMarkers()), m_path(m_folder + "/" + FileNameOf(KeyOf(link))) {}

bool OwedLineEndMarker::Exists() const {
    struct stat status {};
    return !WhyNotPrivate(m_folder) && ::lstat(m_path.c_str(), &status) == 0;
}

std::optional<std::string> OwedLineEndMarker::Set(bool owed) const {
    if (!owed) {
        if (::unlink(m_path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
        return fmt::format("{}: {}", m_path, std::strerror(errno));
    }
    if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return fmt::format("{}: {}", m_folder, std::strerror(errno));
    }
    if (auto failure = WhyNotPrivate(m_folder)) return failure;
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return fmt::format("{}: {}", m_path, std::strerror(errno));
    ::close(fd);
    return std::nullopt;
}

}  // namespace valdrix::link
