#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "link/instrument.h"
#include "pages/model/command_sender.h"

namespace valdrix::model {

// The one road to the instrument for the panel, valdrix-cli and the bridge. Sends queue in the
// order they come and run one at a time, pauses included, on a worker thread of the sender's own,
// so that the thread that queues them never waits for the instrument: the window keeps painting
// and the bridge keeps answering. While a send runs, only the worker touches the instrument.
class PacedSender {
public:
    // Hears of the end of a send, with its report, on the worker thread.
    using Ended = std::function<void(const SendReport& report)>;

    explicit PacedSender(valdrix::link::Instrument& instrument);
    // Waits for the send in progress: a line is never torn. Sends still waiting are dropped.
    ~PacedSender();
    PacedSender(const PacedSender&) = delete;
    PacedSender& operator=(const PacedSender&) = delete;

    // Checks every line at once: a refused send is returned now and nothing is queued. Otherwise
    // the send waits behind those queued before it. Called from one thread, the sender's owner; the
    // listener and ended are called on the worker thread, ended after the send's last write or
    // pause.
    std::optional<SendReport> Queue(CommandSequence sequence, SendListener listener, Ended ended);
    // Blocks until every queued send has ended and been reported.
    void WaitUntilIdle();
    // Waits for the send in progress and takes no more; how many waiting sends were dropped.
    std::size_t Stop();

private:
    struct Send {
        CommandSequence sequence;
        SendListener listener;
        Ended ended;
    };
    void Run();

    valdrix::link::Instrument& m_instrument;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Send> m_queue;
    bool m_sending = false;
    bool m_stopping = false;
    std::thread m_worker;
};

}  // namespace valdrix::model
