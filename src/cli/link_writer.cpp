#include "cli/link_writer.h"

#include "pages/model/command_sender.h"

namespace valdrix::cli {

using namespace valdrix::model;

namespace {

std::optional<std::string> FailureOf(const SendReport& report) {
    if (report.outcome == SendOutcome::Sent) return std::nullopt;
    return report.reason.empty() ? std::string("the line buffer could not be had") : report.reason;
}

}  // namespace

LinkWriter::LinkWriter(QObject& context, valdrix::link::Instrument& instrument)
    : m_context(context), m_instrument(instrument), m_thread([this] { Run(); }) {}

LinkWriter::~LinkWriter() {
    Finish();
}

void LinkWriter::Write(std::string line, Written written) {
    {
        const std::lock_guard lock(m_mutex);
        m_job = Job{std::move(line), std::move(written)};
    }
    m_wake.notify_one();
}

void LinkWriter::Finish() {
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void LinkWriter::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_job || m_finishing; });
        if (!m_job) return;
        Job job = std::move(*m_job);
        m_job.reset();
        lock.unlock();
        const std::optional<std::string> failure =
            FailureOf(SendSingleCommand(m_instrument, job.line));
        lock.lock();
        if (m_finishing) return;
        QMetaObject::invokeMethod(
            &m_context, [written = std::move(job.written), failure] { written(failure); },
            Qt::QueuedConnection);
    }
}

}  // namespace valdrix::cli
