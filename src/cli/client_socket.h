#pragma once

#include <QSocketNotifier>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "cli/client_channel.h"

namespace valdrix::cli {

// One client's TCP connection on its own descriptor. QTcpSocket closes a connection as soon as
// its peer stops sending, and a client that half-closes (nc -N, shutdown(SHUT_WR)) must still
// get its answers. The owner hears of a change from the event loop only, never from inside one
// of its own calls, so that it may act on the connection safely.
class ClientSocket : public ClientChannel {
public:
    // Takes the descriptor of an accepted connection and closes it when destroyed.
    ClientSocket(int descriptor, std::function<void()> changed);
    ~ClientSocket() override;
    ClientSocket(const ClientSocket&) = delete;
    ClientSocket& operator=(const ClientSocket&) = delete;

    // The bytes received and not yet taken; at most a read buffer's worth is held, and the
    // peer waits while it is full.
    const std::string& Received() const override { return m_received; }
    void Take(std::size_t bytes) override;
    // The peer sends no more: it closed its side, or the connection failed.
    bool ReceiveEnded() const override { return m_receiveEnded; }
    // Nothing more can be sent: the connection was reset or timed out.
    bool Broken() const override { return m_broken; }
    // Queues bytes and sends what the peer takes now; the rest goes as it takes it.
    void Send(std::string_view bytes) override;
    std::size_t Unsent() const override { return m_unsent.size(); }
    // Takes in what has arrived, and an end of the stream behind it, without waiting for the
    // event loop.
    void ReadNow() override;

private:
    void Read();
    void Flush();
    void Fail();
    void FollowState();

    int m_descriptor;
    std::function<void()> m_changed;
    QSocketNotifier m_readable;
    QSocketNotifier m_writable;
    std::string m_received;
    std::string m_unsent;
    bool m_receiveEnded = false;
    bool m_broken = false;
};

}  // namespace valdrix::cli
