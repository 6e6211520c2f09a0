#include "framework/send_gate.h"

#include <utility>

namespace valdrix::gui {

void SendGate::Run(std::function<void()> action) {
    if (m_busy) {
        m_waiting.push_back(std::move(action));
        return;
    }
    m_busy = true;
    action();
    while (!m_waiting.empty()) {
        const std::function<void()> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        next();
    }
    m_busy = false;
}

}  // namespace valdrix::gui
