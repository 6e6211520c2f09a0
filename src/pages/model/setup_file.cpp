#include "pages/model/setup_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <fmt/format.h>

#include <algorithm>
#include <charconv>

using namespace valdrix::link;

namespace valdrix::model {

namespace {

constexpr char kSetupSection[] = "setup";
constexpr char kFormatKey[] = "format";
constexpr char kHeader[] =
    "# A setup of the Valdrix / Quennet panel, for the panel's \"Open setup...\" and for\n"
    "# valdrix-cli --setup. One [section] per page, one key per field, named as valdrix-cli\n"
    "# names them; each value as the field shows it. A value in \"quotes\" keeps blanks at its\n"
    "# ends and writes \\\", \\\\, \\n, \\r, \\t and \\xNN for what it holds.\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool NeedsQuotes(std::string_view value) {
    return !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                              value.front() == '"' ||
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

void Store(FieldTexts& texts, std::string key, std::string value) {
    const auto same = std::find_if(texts.begin(), texts.end(),
                                   [&key](const auto& entry) { return entry.first == key; });
    if (same != texts.end()) {
        same->second = std::move(value);  // the last one wins, as when a person edits by hand
    } else {
        texts.emplace_back(std::move(key), std::move(value));
    }
}

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
        return fmt::format("its format version \"{}\" is not a number from 1", PrintableText(*version));
    }
    if (format > kSetupFormat) {
        return fmt::format("it was written by a newer version of the program (format {}; this "
                           "one reads format {})",
                           format, kSetupFormat);
    }
    return {};
}

bool ReadSettings(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray bytes = device.readAll();
    const SetupRead read =
        ParseSetup(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    for (const SetupPage& page : read.setup) {
        for (const auto& [key, value] : page.fields) {
            map.insert(QString::fromStdString(page.name + '/' + key), QString::fromStdString(value));
        }
    }
    return read.error.empty();
}

bool WriteSettings(QIODevice& device, const QSettings::SettingsMap& map) {
    Setup setup;
    for (auto entry = map.begin(); entry != map.end(); ++entry) {
        const QString section = entry.key().section('/', 0, 0);
        if (setup.empty() || setup.back().name != section.toStdString()) {
            setup.push_back({section.toStdString(), {}});
        }
        setup.back().fields.emplace_back(entry.key().section('/', 1).toStdString(),
                                         entry.value().toString().toStdString());
    }
    const std::string text = SetupText(setup);
    return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

}  // namespace

QSettings::Format SetupSettingsFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat("valdrix", ReadSettings, WriteSettings);
    return format;
}

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
    Setup sections;
    SetupPage* section = nullptr;
    int number = 0;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        const std::string where = fmt::format("line {}", number + 1);
        if (line.front() == '[' && line.back() == ']') {
            const std::string name(Trimmed(line.substr(1, line.size() - 2)));
            const auto found = std::find_if(sections.begin(), sections.end(),
                                            [&name](const SetupPage& p) { return p.name == name; });
            section = found != sections.end() ? &*found : &sections.emplace_back(SetupPage{name, {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || section == nullptr) {
            read.error = where + " is neither a [section] nor a key=value in one";
            return read;
        }
        const std::string_view value = Trimmed(line.substr(equals + 1));
        std::optional<std::string> taken = std::string(value);
        if (value.starts_with('"')) taken = Unquoted(value.substr(1));
        if (!taken) {
            read.error = where + " has a quoted value that is not closed or has an unknown \\ escape";
            return read;
        }
        Store(section->fields, std::string(Trimmed(line.substr(0, equals))), std::move(*taken));
    }
    const auto setupSection = std::find_if(
        sections.begin(), sections.end(), [](const SetupPage& p) { return p.name == kSetupSection; });
    read.error = CheckFormat(setupSection == sections.end() ? nullptr : &setupSection->fields);
    if (!read.error.empty()) return read;
    sections.erase(setupSection);
    read.setup = std::move(sections);
    return read;
}

SetupRead ReadSetupFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    SetupRead read;
    // A folder opens, on some systems, and reads as nothing or as garbage.
    if (QFileInfo(file).isDir()) {
        read.error = "it is a directory";
    } else if (!file.open(QIODevice::ReadOnly)) {
        read.error = file.errorString().toStdString();
    } else {
        const QByteArray bytes = file.readAll();
        read = file.error() == QFileDevice::NoError
                   ? ParseSetup(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
                   : SetupRead{{}, file.errorString().toStdString()};
    }
    if (!read.error.empty()) {
        read.error = fmt::format("The setup \"{}\" cannot be used: {}.", path, read.error);
    }
    return read;
}

std::optional<std::string> WriteSetupFile(const std::string& path, const Setup& setup) {
    QSaveFile file(QString::fromStdString(path));
    const std::string text = SetupText(setup);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
        file.commit()) {
        return std::nullopt;
    }
    return fmt::format("The setup \"{}\" was not saved: {}.", path, file.errorString().toStdString());
}

}  // namespace valdrix::model
