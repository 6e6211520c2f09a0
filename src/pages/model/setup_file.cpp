#include "pages/model/setup_file.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "link/command_line.h"
#include "pages/model/whole_file.h"

using namespace valdrix::link;

namespace valdrix::model {

namespace {

constexpr char kSetupSection[] = "setup";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kFormatKey[] = "format";
constexpr char kHeader[] =
    "# A setup of the Valdrix / Quennet panel, for the panel's \"Open setup...\" and for\n"
    "# valdrix-cli --setup. One [section] per page, one key per field, named as valdrix-cli\n"
    "# names them; each value as the field shows it. A value in \"quotes\" keeps blanks at its\n"
    "# ends and writes \\\", \\\\, \\n, \\r, \\t and \\xNN for what it holds.\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool NeedsQuotes(std::string_view value) {
    return !value.empty() &&
           (IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"' ||
            std::any_of(value.begin(), value.end(), IsControl));
}

std::string Quoted(std::string_view value) {
    std::string quoted = "\"";
    for (const char c : value) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                quoted += IsControl(c) ? fmt::format("\\x{:02X}", static_cast<unsigned char>(c))
                                       : std::string(1, c);
        }
    }
    return quoted + '"';
}

// The text inside quotes, from just after the opening one; nullopt when it is not closed at
// the end of the line or holds an escape this format does not write.
std::optional<std::string> Unquoted(std::string_view rest) {
    std::string value;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') {
            if (!Trimmed(rest.substr(i + 1)).empty()) return std::nullopt;
            return value;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i == rest.size()) return std::nullopt;
        switch (rest[i]) {
            case '"': value += '"'; break;
            case '\\': value += '\\'; break;
            case 'n': value += '\n'; break;
            case 'r': value += '\r'; break;
            case 't': value += '\t'; break;
            case 'x': {
                unsigned byte = 0;
                if (i + 2 >= rest.size() ||
                    std::from_chars(rest.data() + i + 1, rest.data() + i + 3, byte, 16).ptr !=
                        rest.data() + i + 3) {
                    return std::nullopt;
                }
                value += static_cast<char>(byte);
                i += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

// The sections read so far, with an index of their names and keys, so that each line is
// placed at once however long the file: a file of a million keys reads in a second.
class SectionIndex {
public:
    void Enter(std::string name) {
        const auto [found, added] = m_sections.try_emplace(name, m_setup.size());
        if (added) {
            m_setup.push_back({std::move(name), {}});
            m_keys.emplace_back();
        }
        m_current = found->second;
    }
    bool InSection() const { return m_current != kNone; }
    void Store(std::string key, std::string value) {
        FieldTexts& texts = m_setup[m_current].fields;
        const auto [found, added] = m_keys[m_current].try_emplace(key, texts.size());
        if (added) {
            texts.emplace_back(std::move(key), std::move(value));
        } else {
            texts[found->second].second =
                std::move(value);  // the last one wins, as when a person edits by hand
        }
    }
    Setup Take() { return std::move(m_setup); }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    Setup m_setup;
    std::unordered_map<std::string, std::size_t> m_sections;
    std::vector<std::unordered_map<std::string, std::size_t>> m_keys;
    std::size_t m_current = kNone;
};

// The format version the file ends with, or why the file cannot be taken.
std::string CheckFormat(const FieldTexts* setupSection) {
    const std::string* version = setupSection ? FindText(*setupSection, kFormatKey) : nullptr;
    if (version == nullptr) {
        return "it has no format version at its end: it is cut short, or it is not a setup file";
    }
    int format = 0;
    const auto [end, error] =
        std::from_chars(version->data(), version->data() + version->size(), format);
    if (error != std::errc() || end != version->data() + version->size() || format < 1) {
        return fmt::format("its format version \"{}\" is not a number from 1",
                           PrintableText(*version));
    }
    if (format > kSetupFormat) {
        return fmt::format(
            "it was written by a newer version of the program (format {}; this "
            "one reads format {})",
            format, kSetupFormat);
    }
    return {};
}

// Reads the whole file into bytes, or says why not. Only a regular file of a setup's size is
// read: a FIFO would wait for a writer for ever, and a device such as /dev/zero never ends.
std::string ReadBoundedFile(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat status {};
    std::string error;
    if (::fstat(fd, &status) != 0) {
        error = std::strerror(errno);
    } else if (S_ISDIR(status.st_mode)) {
        error = "it is a directory";
    } else if (!S_ISREG(status.st_mode)) {
        error = "it is not a regular file";
    }
    char chunk[65536];
    while (error.empty()) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) error = std::strerror(errno);
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (bytes.size() > kLargestSetup) error = "it is larger than 1 MiB, far beyond any setup";
    }
    ::close(fd);
    return error;
}

}  // namespace

const FieldTexts* FindSetupPage(const Setup& setup, std::string_view name) {
    const auto found = std::find_if(setup.begin(), setup.end(),
                                    [name](const SetupPage& page) { return page.name == name; });
    return found == setup.end() ? nullptr : &found->fields;
}

const std::string* FindText(const FieldTexts& texts, std::string_view option) {
    const auto found = std::find_if(texts.begin(), texts.end(),
                                    [option](const auto& entry) { return entry.first == option; });
    return found == texts.end() ? nullptr : &found->second;
}

std::string SetupText(const Setup& setup) {
    std::string text = kHeader;
    for (const SetupPage& page : setup) {
        text += fmt::format("\n[{}]\n", page.name);
        for (const auto& [key, value] : page.fields) {
            text += key + '=' + (NeedsQuotes(value) ? Quoted(value) : value) + '\n';
        }
    }
    return text + fmt::format("\n[{}]\n{}={}\n", kSetupSection, kFormatKey, kSetupFormat);
}

SetupRead ParseSetup(std::string_view text) {
    SetupRead read;
    SectionIndex sections;
    // Editors on some systems start a UTF-8 file with a byte-order mark.
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(sizeof kByteOrderMark - 1);
    int number = 0;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            sections.Enter(std::string(Trimmed(line.substr(1, line.size() - 2))));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !sections.InSection()) {
            read.error =
                fmt::format("line {} is neither a [section] nor a key=value in one", number + 1);
            return read;
        }
        const std::string_view value = Trimmed(line.substr(equals + 1));
        std::optional<std::string> taken = std::string(value);
        if (value.starts_with('"')) taken = Unquoted(value.substr(1));
        if (!taken) {
            read.error = fmt::format(
                "line {} has a quoted value that is not closed or has an "
                "unknown \\ escape",
                number + 1);
            return read;
        }
        sections.Store(std::string(Trimmed(line.substr(0, equals))), std::move(*taken));
    }
    Setup setup = sections.Take();
    const auto setupSection = std::find_if(
        setup.begin(), setup.end(), [](const SetupPage& p) { return p.name == kSetupSection; });
    read.error = CheckFormat(setupSection == setup.end() ? nullptr : &setupSection->fields);
    if (!read.error.empty()) return read;
    setup.erase(setupSection);
    read.setup = std::move(setup);
    return read;
}

SetupRead ReadSetupFile(const std::string& path) {
    std::string bytes;
    SetupRead read;
    read.error = ReadBoundedFile(path, bytes);
    if (read.error.empty()) read = ParseSetup(bytes);
    if (!read.error.empty()) {
        read.error = fmt::format("The setup \"{}\" cannot be used: {}.", path, read.error);
    }
    return read;
}

std::optional<std::string> WriteSetupFile(const std::string& path, const Setup& setup) {
    if (const auto failure = WriteWholeFile(path, SetupText(setup))) {
        return fmt::format("The setup \"{}\" was not saved: {}; the file is as it was.", path,
                           *failure);
    }
    return std::nullopt;
}

}  // namespace valdrix::model
