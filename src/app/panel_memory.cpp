#include "app/panel_memory.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <fmt/format.h>

#include "res/product_texts.h"

namespace valdrix::gui {

using namespace valdrix::model;

namespace {

constexpr char kPanelSection[] = "panel";
constexpr char kConsoleSection[] = "console";

QString MemoryFile() { return ConfigFolder() + "/" + QFileInfo(ConfigFolder()).fileName() + ".conf"; }

// The console's entries are keyed by their place, padded so that the file lists them in order.
QString HistoryKey(std::size_t place) {
    return QString("%1/%2").arg(kConsoleSection).arg(place, 3, 10, QChar('0'));
}

void RecallPages(QSettings& settings, PanelMemory& memory) {
    for (const QString& section : settings.childGroups()) {
        if (section == kPanelSection || section == kConsoleSection) continue;
        SetupPage page{section.toStdString(), {}};
        settings.beginGroup(section);
        for (const QString& key : settings.childKeys()) {
            page.fields.emplace_back(key.toStdString(), settings.value(key).toString().toStdString());
        }
        settings.endGroup();
        memory.pages.push_back(std::move(page));
    }
}

}  // namespace

QString ConfigFolder() {
    const QString name = QString::fromStdString(InstalledProductTexts().caption).toLower();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
           (name.isEmpty() ? QString("valdrix") : name);
}

QString SetupsFolder() { return ConfigFolder() + "/setups"; }

RecalledMemory RecallPanel() {
    RecalledMemory recalled;
    if (!QFileInfo::exists(MemoryFile())) return recalled;
    // Read once as a setup file first: its error says what is wrong, where QSettings only
    // says that something is.
    const SetupRead check = ReadSetupFile(MemoryFile().toStdString());
    if (!check.error.empty()) {
        recalled.error = check.error;
        return recalled;
    }
    QSettings settings(MemoryFile(), SetupSettingsFormat());
    RecallPages(settings, recalled.memory);
    recalled.memory.tab = settings.value(QString(kPanelSection) + "/tab", 0).toInt();
    for (std::size_t place = 1; settings.contains(HistoryKey(place)); ++place) {
        recalled.memory.history.push_back(settings.value(HistoryKey(place)).toString().toStdString());
    }
    return recalled;
}

std::optional<std::string> RememberPanel(const PanelMemory& memory) {
    QDir().mkpath(ConfigFolder());
    QSettings settings(MemoryFile(), SetupSettingsFormat());
    settings.clear();
    for (const SetupPage& page : memory.pages) {
        for (const auto& [key, value] : page.fields) {
            settings.setValue(QString::fromStdString(page.name + '/' + key), QString::fromStdString(value));
        }
    }
    settings.setValue(QString(kPanelSection) + "/tab", memory.tab);
    for (std::size_t place = 1; place <= memory.history.size(); ++place) {
        settings.setValue(HistoryKey(place), QString::fromStdString(memory.history[place - 1]));
    }
    settings.sync();
    if (settings.status() == QSettings::NoError) return std::nullopt;
    return fmt::format("The fields could not be kept for the next start in \"{}\" ({}).",
                       MemoryFile().toStdString(),
                       settings.status() == QSettings::AccessError ? "it cannot be written"
                                                                   : "its format");
}

}  // namespace valdrix::gui
