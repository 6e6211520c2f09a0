#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "cli/client_channel.h"

namespace valdrix::cli {

// One VXI-11 link as a client of the bridge: device_write puts its bytes where the bridge takes
// lines from, the bridge's answers wait here for device_read. Both sides hear of the other's
// changes from the event loop only.
class Vxi11Link : public ClientChannel {
public:
    explicit Vxi11Link(std::function<void()> bridgeChanged);
    // The server hears that the bridge let the link go (an idle client is closed).
    ~Vxi11Link() override;
    Vxi11Link(const Vxi11Link&) = delete;
    Vxi11Link& operator=(const Vxi11Link&) = delete;

    const std::string& Received() const override { return m_received; }
    void Take(std::size_t bytes) override;
    bool ReceiveEnded() const override { return m_ended; }
    bool Broken() const override { return m_ended; }
    void Send(std::string_view bytes) override;
    std::size_t Unsent() const override { return m_answers.size(); }
    void ReadNow() override {}

    // Calls `changed` on the event loop, through the server's context, when the bridge took
    // lines, gave answers or let the link go.
    void FollowBridge(QObject& context, std::function<void()> changed);
    // Bytes the client wrote; a write that ends a message ends its last line.
    void Add(std::string_view bytes, bool endOfMessage);
    // A line of the link's own (device_trigger's *TRG), after the whole lines written and
    // before a line still being written, which it must not join.
    void AddLine(std::string_view line);
    // Every whole line written has been taken by the bridge.
    bool LinesTaken() const { return m_received.find('\n') == std::string::npos; }
    bool HasAnswer() const { return !m_answers.empty(); }
    // The next piece of the answers, at most `most` bytes, ending at the end of an answer or at
    // termChar when one is given; `reason` tells which of them ended it.
    std::string TakeAnswer(std::size_t most, int termChar, std::uint32_t& reason);
    // Drops what was written and not taken, and the answers not read.
    void Clear();
    // The client is gone: the bridge ends this link once its taken lines are done.
    void End();

private:
    void TellBridge();
    void TellServer();

    QObject m_context;
    std::function<void()> m_bridgeChanged;
    QPointer<QObject> m_serverContext;
    std::function<void()> m_serverChanged;
    std::string m_received;
    std::string m_answers;
    bool m_ended = false;
};

}  // namespace valdrix::cli
