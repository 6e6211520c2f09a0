#pragma once

#include <QObject>
#include <QtGlobal>
#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace valdrix::cli {

class ScpiBridge;
class Vxi11Link;

// The VXI-11 server's links, each a client of its instrument's bridge, and each instrument's
// lock: who holds it and which connections wait for it.
class Vxi11Devices {
public:
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

    // One bridge per instrument, in the instruments' order. The links follow their bridges
    // through the server's context; resume hears, from the event loop, of a connection whose
    // waiting device_lock may now have the lock.
    Vxi11Devices(std::vector<ScpiBridge*> bridges, QObject& context, std::ostream& log,
                 std::function<void(quint64 connection)> resume);
    ~Vxi11Devices();
    Vxi11Devices(const Vxi11Devices&) = delete;
    Vxi11Devices& operator=(const Vxi11Devices&) = delete;

    std::size_t Instruments() const { return m_bridges.size(); }
    ScpiBridge& Bridge(unsigned instrument) { return *m_bridges[instrument]; }
    ScpiBridge& BridgeOf(const Link& link) { return Bridge(link.instrument); }
    DeviceLock& LockOfInstrument(unsigned instrument) { return m_locks[instrument]; }
    DeviceLock& LockOf(std::uint32_t link) { return m_locks[m_links.at(link).instrument]; }

    // The new link's number.
    std::uint32_t Add(Link link);
    // The link and its channel while the bridge serves it; a link the bridge let go is ended.
    Link* Find(std::uint32_t link);
    // While a link holds the lock, the commands of every other client of the bridge wait.
    void Take(std::uint32_t link);
    void Release(std::uint32_t link);
    // The link's client sends no more; the bridge lets it go once its lines are done.
    void End(std::uint32_t link);
    void EndLinksOf(quint64 connection);
    void StopWaitingForLocks(quint64 connection);

private:
    std::vector<ScpiBridge*> m_bridges;
    QObject& m_context;
    std::ostream& m_log;
    std::function<void(quint64 connection)> m_resume;
    std::map<std::uint32_t, Link> m_links;
    std::uint32_t m_lastLink = 0;
    std::vector<DeviceLock> m_locks;  // one per instrument
};

}  // namespace valdrix::cli
