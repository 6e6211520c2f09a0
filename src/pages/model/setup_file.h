#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace valdrix::model {

// A setup file (".valdrix"): one section per page, named as valdrix-cli names the page, one
// key per field, named as its valdrix-cli option, each value the text the field shows. Both
// programs and valdrix-cli read and write the same files.
inline constexpr int kSetupFormat = 1;
inline constexpr char kSetupSuffix[] = ".valdrix";
// A file larger than this is not a setup: a real one is a few kilobytes.
inline constexpr std::size_t kLargestSetup = 1 << 20;

// A page's fields as texts, in the order of its field table: option name, text.
using FieldTexts = std::vector<std::pair<std::string, std::string>>;

struct SetupPage {
    std::string name;
    FieldTexts fields;
    bool operator==(const SetupPage&) const = default;
};
using Setup = std::vector<SetupPage>;

// What a file held, or why it cannot be used (empty when it can).
struct SetupRead {
    Setup setup;
    std::string error;
};

// The whole file, format version last: a file cut short has lost it, and is known as cut.
std::string SetupText(const Setup& setup);
SetupRead ParseSetup(std::string_view text);
// Errors name the file. Only a regular file of at most kLargestSetup bytes is read; a UTF-8
// byte-order mark at its start is passed over.
SetupRead ReadSetupFile(const std::string& path);
// Writes the file whole or not at all; says why it could not, naming it.
std::optional<std::string> WriteSetupFile(const std::string& path, const Setup& setup);

const FieldTexts* FindSetupPage(const Setup& setup, std::string_view name);
const std::string* FindText(const FieldTexts& texts, std::string_view option);

}  // namespace valdrix::model
