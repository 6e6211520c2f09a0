#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/onc_rpc.h"
#include "cli/vxi11_messages.h"

namespace valdrix::cli {

class ScpiBridge;
class ClientSocket;
class DescriptorServer;
class Vxi11Link;

// The bridge's instruments as VXI-11 devices, instrument k as inst<k>: the core channel and the
// abort channel, each on a port of the system's choosing on every address the bridge listens
// on. Each link is a client of its instrument's bridge like a raw socket connection. A
// connection carries out one call at a time; device_read, device_write and a waiting
// device_lock answer when they can.
class Vxi11Server {
public:
    // One bridge per instrument, in the instruments' order; none of them empty.
    Vxi11Server(std::vector<ScpiBridge*> bridges, std::ostream& log);
    ~Vxi11Server();
    Vxi11Server(const Vxi11Server&) = delete;
    Vxi11Server& operator=(const Vxi11Server&) = delete;

    // False, with the reason logged, when an address cannot be had.
    bool Listen(const std::vector<QHostAddress>& addresses);
    // The core channel's port, the same on every address.
    quint16 CorePort() const { return m_corePort; }

    // What a call gets: a status, and results unless it waits.
    struct Answer {
        AcceptStat status = AcceptStat::Success;
        std::optional<std::string> results;
    };

private:
    struct Pending {
        Pending(std::uint32_t call, std::uint32_t of, std::uint32_t on, std::uint32_t size = 0)
            : xid(call), procedure(of), link(on), requestSize(size) {}
        std::uint32_t xid = 0;
        std::uint32_t procedure = 0;
        std::uint32_t link = 0;
        std::uint32_t requestSize = 0;
        int termChar = -1;
        std::shared_ptr<QTimer> deadline;
    };
    struct Connection {
        std::string peer;
        QHostAddress address;
        std::unique_ptr<ClientSocket> socket;
        std::optional<Pending> pending;
        bool closing = false;
    };
    // The bridge holds the link's channel and lets it go when it closes the client.
    struct Link {
        std::weak_ptr<Vxi11Link> channel;
        quint64 connection = 0;
        quint64 client = 0;
        unsigned instrument = 0;
        // Found links only: Find has seen the channel still held.
        Vxi11Link& Channel() const { return *channel.lock(); }
    };

    // Who holds an instrument's lock, and the connections whose device_lock waits, in order.
    struct DeviceLock {
        std::optional<std::uint32_t> holder;
        std::deque<quint64> waiters;
    };

    bool ListenOn(const QHostAddress& address, quint16& port);
    void Accept(int descriptor);
    void Serve(quint64 id);
    void Dispatch(quint64 id, const RpcCall& call);
    Answer CallCore(quint64 id, const RpcCall& call);
    std::optional<std::string> CreateLink(quint64 id, const vxi11::CreateLink& message);
    std::optional<std::string> Write(quint64 id, std::uint32_t xid, const vxi11::Write& message);
    std::optional<std::string> Read(quint64 id, std::uint32_t xid, const vxi11::Read& message);
    std::optional<std::string> Lock(quint64 id, std::uint32_t xid, const vxi11::Lock& message);
    std::optional<std::string> Unlock(std::uint32_t link);
    std::optional<std::string> Generic(std::uint32_t procedure, const vxi11::Generic& message);
    std::optional<std::string> DestroyLink(std::uint32_t link);
    std::optional<std::string> Abort(std::uint32_t link);
    void Wait(quint64 id, Pending pending, std::optional<std::uint32_t> timeoutMs);
    void Resume(quint64 id);
    std::optional<std::string> Finish(const Pending& pending);
    void TimedOut(quint64 id);
    void Reply(quint64 id, std::uint32_t xid, const std::string& results);
    void Take(std::uint32_t link);
    void Release(std::uint32_t link);
    void End(std::uint32_t link);
    void Close(quint64 id);
    void StopWaitingForLocks(quint64 id);
    ScpiBridge& BridgeOf(const Link& link) { return *m_bridges[link.instrument]; }
    DeviceLock& LockOf(std::uint32_t link) { return m_locks[m_links.at(link).instrument]; }
    // The link and its channel while the bridge serves it; a link the bridge let go is ended.
    Link* Find(std::uint32_t link);
    void Log(const std::string& text);

    std::vector<ScpiBridge*> m_bridges;
    std::ostream& m_log;
    QObject m_context;
    std::vector<std::unique_ptr<DescriptorServer>> m_servers;
    quint16 m_corePort = 0;
    quint16 m_abortPort = 0;
    std::map<quint64, Connection> m_connections;
    quint64 m_lastConnection = 0;
    std::map<std::uint32_t, Link> m_links;
    std::uint32_t m_lastLink = 0;
    std::vector<DeviceLock> m_locks;  // one per instrument
};

}  // namespace valdrix::cli
