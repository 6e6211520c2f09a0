#include "app/panel_setups.h"

#include <QDir>
#include <QFileDialog>
#include <cstdio>

#include "app/panel_memory.h"
#include "framework/operator_message.h"

namespace valdrix::gui {

using namespace valdrix::model;

namespace {

constexpr char kErrorCaption[] = "ERROR";

}  // namespace

void TellAboutFile(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    AfxMessageBox(text, kErrorCaption);
}

void PanelSetups::Save(QWidget* parent) {
    QDir().mkpath(SetupsFolder());
    QFileDialog dialog(parent, "Save setup", SetupsFolder(), "Setups (*.valdrix)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString(kSetupSuffix).mid(1));
    if (dialog.exec() == QDialog::Accepted) SaveTo(dialog.selectedFiles().front().toStdString());
}

bool PanelSetups::SaveTo(const std::string& path) {
    const auto error = WriteSetupFile(path, m_wiring.shown());
    if (error) TellAboutFile(*error);
    return !error;
}

void PanelSetups::Open(QWidget* parent) {
    QDir().mkpath(SetupsFolder());
    const QString path = QFileDialog::getOpenFileName(parent, "Open setup", SetupsFolder(),
                                                      "Setups (*.valdrix);;All files (*)");
    if (!path.isEmpty()) OpenFrom(path.toStdString());
}

// Waits for a send that is running: its end shows the fields it sent, which would hide the
// ones just opened.
void PanelSetups::OpenFrom(const std::string& path) {
    m_wiring.gated([this, path] {
        const SetupRead read = ReadSetupFile(path);
        if (!read.error.empty()) {
            TellAboutFile(read.error + " The fields are as they were.");
            return;
        }
        m_wiring.show(read.setup);
    });
}

void PanelSetups::Record(const std::string& command, SendOutcome outcome,
                         const std::string& failure) {
    if (outcome == SendOutcome::Refused) return;
    m_session.Add(command, outcome == SendOutcome::Failed ? failure : std::string());
}

void PanelSetups::SaveSession(QWidget* parent) {
    const QString path = QFileDialog::getSaveFileName(parent, "Save session as script",
                                                      QDir::homePath() + "/session.sh",
                                                      "Shell scripts (*.sh);;All files (*)");
    if (!path.isEmpty()) SaveSessionTo(path.toStdString());
}

bool PanelSetups::SaveSessionTo(const std::string& path) {
    const auto error = m_session.SaveTo(path);
    if (error) TellAboutFile(*error);
    return !error;
}

}  // namespace valdrix::gui
