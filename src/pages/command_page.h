#pragma once

#include <functional>

#include "framework/cstring.h"
#include "framework/dialog.h"
#include "pages/model/command_sender.h"

namespace valdrix::gui {

// What every tab page offers the main dialog: SendCommands, and the command text of its last
// send. A page exchanges its fields (a refused field sends nothing) and writes its sequence
// through the one sender.
class CommandPage : public CDialog {
public:
    using CDialog::CDialog;

    CString m_strCommand;

    valdrix::model::SendOutcome SendCommands();

    // The instrument the page's sends reach; set before the first press.
    void SetInstrument(valdrix::link::Instrument& instrument) { m_instrument = &instrument; }

    // How a press of one of the page's own buttons runs: at once, or through the owner's
    // one-send-at-a-time gate.
    using PressRunner = std::function<void(std::function<void()>)>;
    void SetPressRunner(PressRunner runner) { m_pressRunner = std::move(runner); }

protected:
    valdrix::link::Instrument& PageInstrument() { return *m_instrument; }

    // The page's lines and pauses for its current fields; the fields are already exchanged.
    virtual valdrix::model::CommandSequence ComposeSequence() = 0;
    virtual valdrix::model::LineEnds CommandLineEnds() const = 0;
    // Runs when m_strCommand holds the text of a send that wrote something.
    virtual void OnSent() {}
    void RunPress(std::function<void()> action) {
        if (m_pressRunner) {
            m_pressRunner(std::move(action));
        } else {
            action();
        }
    }

private:
    PressRunner m_pressRunner;
    valdrix::link::Instrument* m_instrument = nullptr;
};

}  // namespace valdrix::gui
