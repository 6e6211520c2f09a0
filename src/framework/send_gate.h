#pragma once

#include <deque>
#include <functional>

namespace valdrix::gui {

// One send at a time, whatever pressed the button. The pauses of a send keep the window
// painting, so a press can arrive in the middle of one: from the accessibility bus, a button's
// animated click, a timer or a queued call. Such a press waits and runs after the send, in the
// order the presses came; it never puts its lines between those of another send.
class SendGate {
public:
    // Runs the action now, or after the action that is running and those already waiting.
    void Run(std::function<void()> action);
    bool Busy() const { return m_busy; }
    // Presses that wait behind the running one.
    std::size_t Waiting() const { return m_waiting.size(); }

private:
    bool m_busy = false;
    std::deque<std::function<void()>> m_waiting;
};

}  // namespace valdrix::gui
