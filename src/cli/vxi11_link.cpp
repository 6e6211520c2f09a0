#include "cli/vxi11_link.h"

#include <algorithm>

#include "cli/vxi11_messages.h"

namespace valdrix::cli {

Vxi11Link::Vxi11Link(std::function<void()> bridgeChanged)
    : m_bridgeChanged(std::move(bridgeChanged)) {}

Vxi11Link::~Vxi11Link() {
    TellServer();
}

void Vxi11Link::FollowBridge(QObject& context, std::function<void()> changed) {
    m_serverContext = &context;
    m_serverChanged = std::move(changed);
}

void Vxi11Link::Take(std::size_t bytes) {
    m_received.erase(0, bytes);
    TellServer();
}

void Vxi11Link::Send(std::string_view bytes) {
    if (m_ended) return;
    m_answers.append(bytes);
    TellServer();
}

void Vxi11Link::Add(std::string_view bytes, bool endOfMessage) {
    m_received.append(bytes);
    if (endOfMessage && !m_received.empty() && !m_received.ends_with('\n')) m_received += '\n';
    TellBridge();
}

void Vxi11Link::AddLine(std::string_view line) {
    const std::size_t lineStart = m_received.rfind('\n') + 1;  // 0 when there is no whole line
    m_received.insert(lineStart, std::string(line) + '\n');
    TellBridge();
}

std::string Vxi11Link::TakeAnswer(std::size_t most, int termChar, std::uint32_t& reason) {
    const std::size_t answerEnd = m_answers.find('\n');
    std::size_t size =
        std::min(answerEnd == std::string::npos ? m_answers.size() : answerEnd + 1, most);
    reason = size == answerEnd + 1 ? vxi11::kReasonEnd : 0;
    if (termChar >= 0) {
        const std::size_t term = m_answers.find(static_cast<char>(termChar));
        if (term != std::string::npos && term < size) {
            size = term + 1;
            reason = vxi11::kReasonTermChar | (term == answerEnd ? vxi11::kReasonEnd : 0);
        }
    }
    if (reason == 0) reason = vxi11::kReasonRequestCount;
    std::string piece = m_answers.substr(0, size);
    m_answers.erase(0, size);
    TellBridge();  // room for more answers: the bridge may take the lines that wait
    return piece;
}

void Vxi11Link::Clear() {
    m_received.clear();
    m_answers.clear();
}

void Vxi11Link::End() {
    m_ended = true;
    m_answers.clear();
    TellBridge();
}

void Vxi11Link::TellBridge() {
    QMetaObject::invokeMethod(
        &m_context, [this] { m_bridgeChanged(); }, Qt::QueuedConnection);
}

// Through the server's context: the call is dropped when the server goes, and still made when
// this link goes first.
void Vxi11Link::TellServer() {
    if (m_serverContext.isNull() || !m_serverChanged) return;
    QMetaObject::invokeMethod(m_serverContext.data(), m_serverChanged, Qt::QueuedConnection);
}

}  // namespace valdrix::cli
