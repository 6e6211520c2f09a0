#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "cli/client_channel.h"

// One VXI-11 link as a client of the bridge: device_write puts its bytes where the bridge takes
// lines from, the bridge's answers wait here for device_read. Both sides hear of the other's
// changes from the event loop only.
class Vxi11Link : public ClientChannel {
public:
    explicit Vxi11Link(std::function<void()> bridgeChanged);

    const std::string& Received() const override { return m_received; }
    void Take(std::size_t bytes) override;
    bool ReceiveEnded() const override { return m_ended; }
    bool Broken() const override { return m_ended; }
    void Send(std::string_view bytes) override;
    std::size_t Unsent() const override { return m_answers.size(); }
    void ReadNow() override {}

    // Called when the bridge took lines or gave answers.
    void FollowBridge(std::function<void()> changed) { m_serverChanged = std::move(changed); }
    // Bytes the client wrote; a write that ends a message ends its last line.
    void Add(std::string_view bytes, bool endOfMessage);
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
    void Tell(const std::function<void()>& whom);

    QObject m_context;
    std::function<void()> m_bridgeChanged;
    std::function<void()> m_serverChanged;
    std::string m_received;
    std::string m_answers;
    bool m_ended = false;
};
