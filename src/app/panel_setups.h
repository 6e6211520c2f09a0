#pragma once

#include <functional>
#include <string>

#include "app/session_script.h"
#include "pages/model/command_sender.h"
#include "pages/model/setup_file.h"

class QWidget;

namespace valdrix::gui {

// The fields as files: setups saved and opened, and the sends of this session saved as a
// valdrix-cli script.
class PanelSetups {
public:
    struct Wiring {
        // Every page's fields as shown, in the order of the tabs.
        std::function<valdrix::model::Setup()> shown;
        // The pages the setup names take its texts; the others keep theirs.
        std::function<void(const valdrix::model::Setup&)> show;
        // Runs a press through the dialog's one-send-at-a-time gate.
        std::function<void(std::function<void()>)> gated;
    };
    explicit PanelSetups(Wiring wiring) : m_wiring(std::move(wiring)) {}

    void Save(QWidget* parent);
    // Every page's fields as shown go to the file, whole or not at all; false when they could
    // not, and the operator has been told why.
    bool SaveTo(const std::string& path);
    void Open(QWidget* parent);
    // Fills the pages the file names; nothing is sent. A file that cannot be used is named in a
    // message and changes nothing.
    void OpenFrom(const std::string& path);

    // A send of this session by its valdrix-cli command; failure says why it did not reach the
    // instrument, when it did not. A send refused before anything was written is left out.
    void Record(const std::string& command, valdrix::model::SendOutcome outcome,
                const std::string& failure);
    void SaveSession(QWidget* parent);
    // False when the script could not be written, and the operator has been told why.
    bool SaveSessionTo(const std::string& path);

private:
    Wiring m_wiring;
    SessionScript m_session;
};

// A message about a file goes to the terminal too, where a script or a bug report finds it.
void TellAboutFile(const std::string& text);

}  // namespace valdrix::gui
