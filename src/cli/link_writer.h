#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "link/instrument.h"

namespace valdrix::cli {

// Writes lines to the instrument on a thread of its own, so that a write that takes its whole
// time-out holds up only the lines that wait for it while the event loop goes on serving. While
// it runs, only its thread touches the instrument.
class LinkWriter {
public:
    // Why a line did not reach the instrument; nothing when it did.
    using Written = std::function<void(const std::optional<std::string>& failure)>;

    // Writes to instrument; reports each write on the event loop of the thread that owns context.
    LinkWriter(QObject& context, valdrix::link::Instrument& instrument);
    // Waits for the write in progress: a line is never torn.
    ~LinkWriter();
    LinkWriter(const LinkWriter&) = delete;
    LinkWriter& operator=(const LinkWriter&) = delete;

    // Starts writing one line; the next waits until this one is reported.
    void Write(std::string line, Written written);
    // Waits for the write in progress and takes no more; its report is dropped.
    void Finish();

private:
    struct Job {
        std::string line;
        Written written;
    };
    void Run();

    QObject& m_context;
    valdrix::link::Instrument& m_instrument;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_job;
    bool m_finishing = false;
    std::thread m_thread;
};

}  // namespace valdrix::cli
