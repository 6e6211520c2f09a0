#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "cli/client_channel.h"
#include "pages/model/paced_sender.h"
#include "pages/model/scpi_header.h"

class QTcpServer;

namespace valdrix::cli {

using Subnet = std::pair<QHostAddress, int>;

// One line of the bridge's log on standard error; lines from several threads never mix.
void LogServe(std::ostream& log, std::string_view text);

struct BridgeOptions {
    std::vector<std::pair<QHostAddress, quint16>> listen;
    // Who may connect; anyone who can reach a listening address when empty.
    std::vector<Subnet> allow;
    // The pause after a command whose header no page sends with a pause after it.
    unsigned gapMs = 0;
    // A client that sends nothing for this long, with no line of its own waiting, is closed.
    std::optional<unsigned> idleTimeoutSeconds;
    std::string identity;  // the answer to *IDN?
};

// A raw SCPI socket in front of the write-only instrument. The commands of every client's lines
// go to the instrument one at a time, taking the waiting clients in turn, each followed by the
// pause the panel makes after it; the writes and pauses run on the sender's worker, so a stalled
// instrument holds up only the lines that need it. The queries and common commands that need
// no reading from the instrument are answered here, each client with its own error queue and
// status registers. Runs in the Qt event loop of the calling thread.
class ScpiBridge {
public:
    // Writes to instrument, which nothing else touches while the bridge runs.
    ScpiBridge(valdrix::link::Instrument& instrument, BridgeOptions options, std::ostream& log);
    ~ScpiBridge();
    ScpiBridge(const ScpiBridge&) = delete;
    ScpiBridge& operator=(const ScpiBridge&) = delete;

    // Listens on every address; false, with the reason logged, when one cannot be had.
    bool Listen();
    // The ports listened on, in the order of the addresses.
    std::vector<quint16> Ports() const;
    // Whether a peer may connect at all (--allow).
    bool Allowed(const QHostAddress& peer) const;
    // Serves a new client on the channel made for it, which tells the bridge of its changes
    // through the function it is given; the client's number, or why it is not served.
    using ChannelMaker =
        std::function<std::shared_ptr<ClientChannel>(std::function<void()> changed)>;
    std::variant<quint64, std::string> Join(const QHostAddress& address, const std::string& peer,
                                            const ChannelMaker& makeChannel);
    // Drops a client's lines not yet written and its answers not yet given; how many commands
    // for the instrument were dropped.
    std::size_t Clear(quint64 id);
    // A client's status byte, as *STB? gives it.
    std::optional<std::uint8_t> StatusByte(quint64 id);
    // While one client holds the instrument, the other clients' commands wait.
    void HoldInstrumentFor(std::optional<quint64> id);
    // Waits for the write in progress, closes every connection and stops writing; returns how
    // many received commands were not written.
    std::size_t Stop();

private:
    // What a line asks for, in its order: a command for the instrument with the pause after
    // it, a unit carried out here, an error to queue, and the end of the line, where the
    // answers of its queries go out together.
    struct Step {
        enum class Kind { Write, CarryOut, Refuse, LineEnd } kind;
        std::string text;
        unsigned pauseMs = 0;
        valdrix::model::MessageUnit unit = {};
    };
    struct Client;

    void Accept(int descriptor);
    void Refuse(int descriptor, const std::string& peer, const std::string& why);
    std::optional<std::string> WhyNotServed(const QHostAddress& peer);
    void SettleClients();
    std::size_t ClientsStillSending() const;
    Client* Find(quint64 id);
    void Pump(quint64 id);
    bool TakeLine(Client& client);
    void Take(Client& client, std::string_view line, bool cut);
    void AddUnits(Client& client, std::string_view line);
    void CarryOut(Client& client);
    void EndLine(Client& client);
    void WriteNext();
    Client* NextInTurn();
    void Written(quint64 id, const std::string& line, const valdrix::model::SendReport& report);
    void IdleFor(quint64 id);
    bool Finished(const Client& client) const;
    void Reap(quint64 id);
    unsigned PauseAfter(const valdrix::model::MessageUnit& unit) const;
    void Log(const std::string& text);

    BridgeOptions m_options;
    std::ostream& m_log;
    // Where the sender's reports and deferred work run; they are dropped when it goes.
    QObject m_context;
    valdrix::model::PacedSender m_sender;
    std::vector<std::unique_ptr<QTcpServer>> m_servers;
    std::map<quint64, std::unique_ptr<Client>> m_clients;
    quint64 m_lastClient = 0;
    quint64 m_lastTurn = 0;
    std::optional<quint64> m_heldFor;     // the only client whose commands are written
    std::optional<quint64> m_writingFor;  // whose command is being written or paced
    bool m_stopped = false;
};

}  // namespace valdrix::cli
