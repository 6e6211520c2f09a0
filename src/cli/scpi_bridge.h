#pragma once

#include <QHostAddress>
#include <QTimer>

#include <deque>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QTcpServer;
class QTcpSocket;

using Subnet = std::pair<QHostAddress, int>;

// One line of the bridge's log on standard error.
void LogServe(std::ostream& log, std::string_view text);

struct BridgeOptions {
    std::vector<std::pair<QHostAddress, quint16>> listen;
    // Who may connect; anyone who can reach a listening address when empty.
    std::vector<Subnet> allow;
    // The pause after a line whose header no page sends with a pause after it.
    unsigned gapMs = 0;
    std::string identity;  // the answer to *IDN?
};

// A raw SCPI socket in front of the write-only instrument. Every line a client sends goes to
// the instrument through the pages' sender, one at a time for all clients in the order they
// arrived, each followed by the pause the panel makes after it. The few queries that need no
// reading from the instrument (*IDN?, *OPC?, SYSTem:ERRor?) are answered here; each client has
// its own error queue. Runs in the Qt event loop of the calling thread.
class ScpiBridge {
public:
    ScpiBridge(BridgeOptions options, std::ostream& log);
    ~ScpiBridge();
    ScpiBridge(const ScpiBridge&) = delete;
    ScpiBridge& operator=(const ScpiBridge&) = delete;

    // Listens on every address; false, with the reason logged, when one cannot be had.
    bool Listen();
    // Closes every connection and stops writing; returns how many received lines were not
    // written.
    std::size_t Stop();

private:
    // A line as it came from a client, without its end. A line too long for the instrument is
    // kept cut to its start.
    struct ReceivedLine {
        std::string text;
        bool cut = false;
    };
    struct Client;
    struct QueuedLine {
        quint64 client;
        std::string line;
    };

    void Accept(QTcpSocket* socket);
    bool Allowed(const QHostAddress& peer) const;
    Client* Find(quint64 id);
    void Pump(quint64 id);
    std::optional<ReceivedLine> NextLine(Client& client);
    // A command for the instrument, rather than a query or a line that cannot be sent.
    static bool GoesToInstrument(const ReceivedLine& line);
    void Take(Client& client, ReceivedLine line);
    void HandleHere(Client& client, const ReceivedLine& line);
    void Answer(Client& client, const std::string& reply);
    void QueueError(Client& client, std::string entry);
    void Leave(quint64 id);
    void WriteNext();
    void LinePaced();
    unsigned PauseAfter(const std::string& line) const;
    void Log(const std::string& text);

    BridgeOptions m_options;
    std::ostream& m_log;
    std::vector<std::unique_ptr<QTcpServer>> m_servers;
    std::map<quint64, std::unique_ptr<Client>> m_clients;
    quint64 m_lastClient = 0;
    std::deque<QueuedLine> m_queue;
    std::optional<quint64> m_writingFor;  // whose line was written last and is being paced
    QTimer m_pace;
};
