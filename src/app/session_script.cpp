#include "app/session_script.h"

#include <fmt/format.h>

#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace valdrix::gui {

void SessionScript::Add(std::string command, std::string failure) {
    if (failure.empty()) {
        m_lines.push_back(std::move(command));
        return;
    }
    // A reason may run over several lines; each of them stays a comment.
    std::replace(failure.begin(), failure.end(), '\n', ' ');
    m_lines.push_back(
        fmt::format("# This send did not reach the instrument ({}):\n# {}", failure, command));
}

std::string SessionScript::Text() const {
    std::string text =
        "#!/bin/sh\n# The sends of a panel session, in order, as valdrix-cli commands.\nset -e\n";
    for (const std::string& line : m_lines) text += line + "\n";
    return text;
}

std::optional<std::string> SessionScript::SaveTo(const std::string& path) const {
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    const std::string text = Text();
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(text.data(), static_cast<qint64>(text.size())) ==
                           static_cast<qint64>(text.size()) &&
                       file.commit();
    if (!saved) {
        return fmt::format("The session could not be saved as \"{}\": {}.", path,
                           file.errorString().toStdString());
    }
    const auto executable = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
    if (!QFile::setPermissions(name, QFile::permissions(name) | executable)) {
        return fmt::format(
            "The session was saved as \"{}\", but it could not be made executable: "
            "run it with sh.",
            path);
    }
    return std::nullopt;
}

}  // namespace valdrix::gui
