#include "cli/client_socket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace valdrix::cli {

namespace {

constexpr std::size_t kReadBufferBytes = 64 * 1024;

// A client whose machine vanished frees its place: keepalive probes after a minute of silence,
// and unanswered probes or unacknowledged answers end the connection after about two minutes.
void FindDeadPeers(int descriptor) {
    const int on = 1, idleSeconds = 60, probeSeconds = 10, probes = 6;
    const unsigned unacknowledgedMs = 120000;
    setsockopt(descriptor, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &probeSeconds, sizeof probeSeconds);
    setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    setsockopt(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledgedMs,
               sizeof unacknowledgedMs);
    setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}

}  // namespace

ClientSocket::ClientSocket(int descriptor, std::function<void()> changed)
    : m_descriptor(descriptor),
      m_changed(std::move(changed)),
      m_readable(descriptor, QSocketNotifier::Read),
      m_writable(descriptor, QSocketNotifier::Write) {
    FindDeadPeers(descriptor);
    m_writable.setEnabled(false);
    QObject::connect(&m_readable, &QSocketNotifier::activated, [this] {
        Read();
        m_changed();
    });
    QObject::connect(&m_writable, &QSocketNotifier::activated, [this] {
        Flush();
        m_changed();
    });
}

ClientSocket::~ClientSocket() {
    m_readable.setEnabled(false);
    m_writable.setEnabled(false);
    ::close(m_descriptor);
}

void ClientSocket::Take(std::size_t bytes) {
    m_received.erase(0, bytes);
    FollowState();
}

void ClientSocket::Send(std::string_view bytes) {
    if (m_broken) return;
    m_unsent.append(bytes);
    Flush();
}

void ClientSocket::ReadNow() {
    std::size_t before = 0;
    do {
        before = m_received.size();
        Read();
    } while (!m_receiveEnded && m_received.size() > before);
}

void ClientSocket::Read() {
    std::array<char, 16 * 1024> chunk;
    while (!m_receiveEnded && m_received.size() < kReadBufferBytes) {
        const std::size_t room = std::min(chunk.size(), kReadBufferBytes - m_received.size());
        const ssize_t got = ::recv(m_descriptor, chunk.data(), room, 0);
        if (got > 0) {
            m_received.append(chunk.data(), static_cast<std::size_t>(got));
            if (static_cast<std::size_t>(got) < room) break;  // all there is for now
        } else if (got == 0) {
            m_receiveEnded = true;
        } else if (errno != EINTR) {
            if (!WouldBlock()) Fail();
            break;
        }
    }
    FollowState();
}

void ClientSocket::Flush() {
    while (!m_broken && !m_unsent.empty()) {
        const ssize_t sent = ::send(m_descriptor, m_unsent.data(), m_unsent.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            m_unsent.erase(0, static_cast<std::size_t>(sent));
        } else if (errno != EINTR) {
            if (!WouldBlock()) Fail();
            break;
        }
    }
    FollowState();
}

void ClientSocket::Fail() {
    m_receiveEnded = true;
    m_broken = true;
    m_unsent.clear();
}

// Listens for what the connection can do next: read while there is room, write while there
// are unsent bytes.
void ClientSocket::FollowState() {
    m_readable.setEnabled(!m_receiveEnded && m_received.size() < kReadBufferBytes);
    m_writable.setEnabled(!m_broken && !m_unsent.empty());
}

}  // namespace valdrix::cli
