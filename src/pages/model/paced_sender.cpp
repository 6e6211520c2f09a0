#include "pages/model/paced_sender.h"

#include <utility>

namespace valdrix::model {

PacedSender::PacedSender(valdrix::link::Instrument& instrument) : m_instrument(instrument) {}

PacedSender::~PacedSender() {
    Stop();
}

std::optional<SendReport> PacedSender::Queue(CommandSequence sequence, SendListener listener,
                                             Ended ended) {
    if (auto refused = RefusalOfSend(sequence)) return refused;
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back({std::move(sequence), std::move(listener), std::move(ended)});
    }
    m_changed.notify_all();
    // The worker starts with the first send: a window that sends nothing appears no later.
    if (!m_worker.joinable()) m_worker = std::thread([this] { Run(); });
    return std::nullopt;
}

void PacedSender::WaitUntilIdle() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopping || (m_queue.empty() && !m_sending); });
}

std::size_t PacedSender::Stop() {
    std::size_t dropped = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        dropped = std::exchange(m_queue, {}).size();
    }
    m_changed.notify_all();
    if (m_worker.joinable()) m_worker.join();
    return dropped;
}

void PacedSender::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping) return;
        const Send send = std::move(m_queue.front());
        m_queue.pop_front();
        m_sending = true;
        lock.unlock();
        const SendReport report = SendSequence(m_instrument, send.sequence, send.listener);
        if (send.ended) send.ended(report);
        lock.lock();
        m_sending = false;
        m_changed.notify_all();
    }
}

}  // namespace valdrix::model
