#pragma once

#include <QObject>
#include <functional>

#include "app/status_line.h"
#include "framework/send_gate.h"
#include "link/instrument.h"
#include "pages/model/paced_sender.h"

namespace valdrix::gui {

// Every press of the panel that may write to the instrument, one at a time, and their sends
// through the one sender. A press runs on the window's thread; its send runs on the sender's
// worker while the window goes on painting, and presses made meanwhile wait behind it in their
// order. The status line follows the send and then tells what the press did.
class PanelPresses {
public:
    // Runs on the window's thread once the send is over, refused, sent or failed.
    using Ended = std::function<void(const valdrix::model::SendReport& report)>;
    struct Wiring {
        // The window's status line, once the window is made.
        std::function<StatusLine&()> statusLine;
        // Shows how the link is, after a press.
        std::function<void()> showStatus;
    };

    // Reports reach the window's thread as queued calls to window, which drops them when it
    // goes; a PanelPresses is destroyed before it, waiting for the send in progress.
    PanelPresses(QObject& window, valdrix::link::Instrument& instrument, Wiring wiring);

    // Runs the press now, or after the running press and its send and those already waiting.
    void Run(std::function<void()> press);
    // Called by a running press: sends the sequence, then runs ended. A refused send is told at
    // once; a send that did not go through is told in the box the operator knows.
    void Send(valdrix::model::CommandSequence sequence, Ended ended);
    // Whether a press runs or holds the gate for its send.
    bool Busy() const { return m_gate.Busy(); }

private:
    void PressOver();
    void EndSend(const valdrix::model::SendReport& report, const Ended& ended);

    QObject& m_window;
    valdrix::link::Instrument& m_instrument;
    Wiring m_wiring;
    SendGate m_gate;
    // Last, so that it is destroyed first: its worker is joined before the rest goes.
    valdrix::model::PacedSender m_sender;
};

}  // namespace valdrix::gui
