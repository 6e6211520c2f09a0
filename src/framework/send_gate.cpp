#include "framework/send_gate.h"

#include <utility>

namespace valdrix::gui {

void SendGate::Run(std::function<void()> press) {
    m_waiting.push_back(std::move(press));
    if (!m_busy) RunWaiting();
}

void SendGate::Release() {
    m_held = false;
    RunWaiting();
}

// A press run here may queue another: it waits its turn in the same loop.
void SendGate::RunWaiting() {
    m_busy = true;
    while (!m_held && !m_waiting.empty()) {
        const std::function<void()> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        next();
    }
    m_busy = m_held;
}

}  // namespace valdrix::gui
