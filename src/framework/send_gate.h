#pragma once

#include <deque>
#include <functional>

namespace valdrix::gui {

// One send at a time, whatever pressed the button. A send runs on the sender's worker while the
// window goes on painting and taking input, so a press can arrive in the middle of one: a click,
// a key, the accessibility bus, a timer or a queued call. Such a press waits and runs after the
// send, in the order the presses came; it never puts its lines between those of another send.
// The gate never waits itself: a press that starts a send holds it, and the send's end, reported
// on the window's thread, releases it.
class SendGate {
public:
    // Runs the press now, or after the press that holds the gate and those already waiting.
    void Run(std::function<void()> press);
    // Called by the running press: the presses waiting stay so until Release.
    void Hold() { m_held = true; }
    // Runs the presses that waited, in order.
    void Release();
    bool Busy() const { return m_busy; }
    bool Held() const { return m_held; }
    // Presses that wait behind the running one.
    std::size_t Waiting() const { return m_waiting.size(); }

private:
    void RunWaiting();

    bool m_busy = false;
    bool m_held = false;
    std::deque<std::function<void()>> m_waiting;
};

}  // namespace valdrix::gui
