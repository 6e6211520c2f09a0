#include "app/status_line.h"

#include <fmt/format.h>

#include <QFontMetrics>
#include <QLabel>

namespace valdrix::gui {

namespace {

std::string Lines(unsigned long long count) {
    return fmt::format("{} line{}", count, count == 1 ? "" : "s");
}

}  // namespace

StatusLine::StatusLine(QLabel& label) : m_label(label) {
    m_label.setWordWrap(false);
    m_label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label.setFont(m_label.parentWidget()->font());
}

void StatusLine::Show(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    if (whole == m_text) return;
    m_text = whole;
    m_label.setText(
        QFontMetrics(m_label.font()).elidedText(whole, Qt::ElideRight, m_label.width()));
    m_label.setToolTip(whole);
    // A label named for what it is shows its text to assistive technology as its description;
    // Qt tells its change on the bus, and a screen reader speaks it.
    m_label.setAccessibleDescription(whole);
}

void StatusLine::PressBegins(const valdrix::link::WriteTally& writes) {
    m_writesBefore = writes;
    m_progress = {};
}

void StatusLine::ShowProgress(const SendProgressSeen& progress, std::size_t pressesWaiting) {
    m_progress = progress;
    ShowWaiting(pressesWaiting);
}

void StatusLine::ShowWaiting(std::size_t pressesWaiting) {
    if (m_progress.count == 0) return;
    Show(ProgressText(m_progress.number, m_progress.count, m_progress.line, pressesWaiting));
}

void StatusLine::PressEnds(const valdrix::link::WriteTally& writes) {
    const std::string lastSend = LastSendText(m_writesBefore, writes, m_progress);
    if (!lastSend.empty()) m_lastSend = lastSend;
    m_progress = {};
}

void StatusLine::NoteRefusal(const std::string& refusal) {
    if (!refusal.empty()) m_lastSend = refusal;
}

void StatusLine::ShowLink(const std::string& name,
                          const std::optional<std::string>& whyNotConnected) {
    const std::string state = whyNotConnected ? fmt::format("not connected: {}.", *whyNotConnected)
                                              : std::string("connected.");
    Show(fmt::format("{}: {} {}", name, state,
                     m_lastSend.empty() ? std::string("Nothing sent yet.") : m_lastSend));
}

std::string ProgressText(std::size_t number, std::size_t count, const std::string& line,
                         std::size_t pressesWaiting) {
    std::string text = fmt::format("Sending line {} of {}: {}", number, count, line);
    if (pressesWaiting > 0) {
        text += fmt::format("; {} more press{} waiting", pressesWaiting,
                            pressesWaiting == 1 ? "" : "es");
    }
    return text;
}

std::string LastSendText(const valdrix::link::WriteTally& before,
                         const valdrix::link::WriteTally& after, const SendProgressSeen& progress) {
    const unsigned long long written = after.linesWritten - before.linesWritten;
    if (after.failedWrites != before.failedWrites) {
        const std::string linesBefore =
            written == 0 ? std::string("no line of this send reached the instrument")
                         : Lines(written) + " before it did";
        return fmt::format("Last send: {} did not reach the instrument ({}); {}.", after.lastFailed,
                           after.lastFailure, linesBefore);
    }
    if (written == 0) return {};
    if (written == 1 && progress.count == 1) {
        return fmt::format("Last send: {} reached the instrument.", progress.line);
    }
    return fmt::format("Last send: {} reached the instrument.", Lines(written));
}

}  // namespace valdrix::gui
