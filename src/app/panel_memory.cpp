#include "app/panel_memory.h"

#include <fmt/format.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <charconv>

#include "app/command_history.h"
#include "pages/model/whole_file.h"
#include "res/product_texts.h"

namespace valdrix::gui {

using namespace valdrix::model;

namespace {

constexpr char kPanelSection[] = "panel";
constexpr char kConsoleSection[] = "console";
constexpr char kTabKey[] = "tab";

std::string MemoryFile() {
    return (ConfigFolder() + "/" + QFileInfo(ConfigFolder()).fileName() + ".conf").toStdString();
}

// The console's entries are keyed by their place, padded so that the file lists them in order.
std::string HistoryKey(std::size_t place) {
    return fmt::format("{:03}", place);
}

int TabOf(const Setup& setup) {
    const FieldTexts* panel = FindSetupPage(setup, kPanelSection);
    const std::string* text = panel ? FindText(*panel, kTabKey) : nullptr;
    int tab = 0;
    if (text) std::from_chars(text->data(), text->data() + text->size(), tab);
    return tab;
}

std::vector<std::string> HistoryOf(const Setup& setup) {
    std::vector<std::string> history;
    const FieldTexts* console = FindSetupPage(setup, kConsoleSection);
    for (std::size_t place = 1; console != nullptr; ++place) {
        const std::string* line = FindText(*console, HistoryKey(place));
        if (line == nullptr) break;
        history.push_back(*line);
    }
    return history;
}

PanelMemory MemoryOf(Setup setup) {
    PanelMemory memory{{}, TabOf(setup), HistoryOf(setup)};
    for (SetupPage& page : setup) {
        if (page.name != kPanelSection && page.name != kConsoleSection) {
            memory.pages.push_back(std::move(page));
        }
    }
    return memory;
}

Setup SetupOf(const PanelMemory& memory) {
    Setup setup = memory.pages;
    setup.push_back({kPanelSection, {{kTabKey, std::to_string(memory.tab)}}});
    SetupPage console{kConsoleSection, {}};
    for (std::size_t place = 1; place <= memory.history.size(); ++place) {
        console.fields.emplace_back(HistoryKey(place), memory.history[place - 1]);
    }
    setup.push_back(std::move(console));
    return setup;
}

}  // namespace

QString ConfigFolder() {
    const QString name = QString::fromStdString(InstalledProductTexts().caption).toLower();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
           (name.isEmpty() ? QString("valdrix") : name);
}

QString SetupsFolder() {
    return ConfigFolder() + "/setups";
}

RecalledMemory RecallPanel() {
    RecalledMemory recalled;
    if (!QFileInfo::exists(QString::fromStdString(MemoryFile()))) return recalled;
    SetupRead read = ReadSetupFile(MemoryFile());
    recalled.error = read.error;
    if (read.error.empty()) recalled.memory = MemoryOf(std::move(read.setup));
    return recalled;
}

// The file is read again first: another window may have kept its console's lines there since
// this one started, and a file that can no longer be read (a newer version's, one mended by
// hand and broken) is left as it is.
std::optional<std::string> RememberPanel(PanelMemory memory,
                                         const std::vector<std::string>& added) {
    const std::string file = MemoryFile();
    if (QFileInfo::exists(QString::fromStdString(file))) {
        const SetupRead kept = ReadSetupFile(file);
        if (!kept.error.empty()) {
            return kept.error + " The fields were not kept; the file is left as it is.";
        }
        memory.history = MergedHistory(HistoryOf(kept.setup), added);
    }
    QDir().mkpath(ConfigFolder());
    if (const auto failure = WriteWholeFile(file, SetupText(SetupOf(memory)))) {
        return fmt::format(
            "The fields could not be kept for the next start in \"{}\": {}; the "
            "file is as it was.",
            file, *failure);
    }
    return std::nullopt;
}

}  // namespace valdrix::gui
