#include "cli/scpi_bridge.h"

#include <fmt/format.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <ostream>

#include "cli/cli_usage.h"
#include "link/command_line.h"
#include "pages/model/command_sender.h"
#include "pages/model/scpi_header.h"

using namespace valdrix::link;
using namespace valdrix::model;

namespace {

constexpr std::size_t kMaxClients = 16;
// A client's input waits while this many of its lines wait for the instrument, or while it
// leaves this many bytes of replies unread, so that a fast writer or a client that never reads
// holds up no one but itself.
constexpr std::size_t kMaxLinesInFlight = 64;
constexpr qint64 kMaxUnreadReplies = 64 * 1024;
constexpr qint64 kReadBufferBytes = 64 * 1024;
constexpr std::size_t kMaxErrors = 32;
// A command line and its end, 0x0D 0x0A at most.
constexpr qint64 kLongestLineOnWire = static_cast<qint64>(kMaxCommandLine) + 2;

constexpr char kNoError[] = "0,\"No error\"";
constexpr char kQueueOverflow[] = "-350,\"Queue overflow\"";
constexpr char kCannotAnswer[] =
    "-113,\"Undefined header; this instrument cannot answer queries\"";

// An error queue entry as SCPI gives it: the code, then the description in double quotes,
// quotes inside it doubled.
std::string ErrorEntry(int code, std::string_view title, std::string_view detail) {
    std::string quoted;
    for (char c : detail) {
        if (c == '"') quoted += '"';
        quoted += c == '\n' ? ' ' : c;
    }
    return fmt::format("{},\"{}; {}\"", code, title, quoted);
}

std::string RefusalEntry(const std::string& line, bool cut) {
    if (cut) {
        return ErrorEntry(-223, "Too much data",
                          fmt::format("the command \"{}\" is longer than {} characters",
                                      PrintableText(line), kMaxCommandLine));
    }
    const std::string why = RefusalOf(line).value_or("");
    return line.size() > kMaxCommandLine ? ErrorEntry(-223, "Too much data", why)
                                         : ErrorEntry(-101, "Invalid character", why);
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string::npos; }

// An IPv4 peer of a socket that listens on IPv6 too shows as ::ffff:a.b.c.d.
QHostAddress Unmapped(const QHostAddress& address) {
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4) : address;
}

std::string AddressText(const QHostAddress& address, quint16 port) {
    const QHostAddress shown = Unmapped(address);
    const std::string host = shown.toString().toStdString();
    return shown.protocol() == QAbstractSocket::IPv6Protocol ? fmt::format("[{}]:{}", host, port)
                                                             : fmt::format("{}:{}", host, port);
}

}  // namespace

void LogServe(std::ostream& log, std::string_view text) {
    log << kCliProgram << " serve: " << text << '\n' << std::flush;
}

struct ScpiBridge::Client {
    quint64 id;
    std::unique_ptr<QTcpSocket> socket;
    std::string peer;
    std::deque<std::string> errors = {};
    std::size_t linesInFlight = 0;
    // A line the bridge answers or refuses itself waits until the client's lines before it
    // are written, so that its answer and its errors come in the order of its lines.
    std::optional<ReceivedLine> held = {};
    std::optional<std::string> cutLine = {};  // the start of a line too long, until its end comes
};

ScpiBridge::ScpiBridge(BridgeOptions options, std::ostream& log)
    : m_options(std::move(options)), m_log(log) {
    m_pace.setSingleShot(true);
    m_pace.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_pace, &QTimer::timeout, [this] { LinePaced(); });
}

ScpiBridge::~ScpiBridge() { Stop(); }

bool ScpiBridge::Listen() {
    for (const auto& [address, port] : m_options.listen) {
        auto server = std::make_unique<QTcpServer>();
        if (!server->listen(address, port)) {
            Log(fmt::format("cannot listen on {}: {}", AddressText(address, port),
                            server->errorString().toStdString()));
            return false;
        }
        QTcpServer* listening = server.get();
        QObject::connect(listening, &QTcpServer::newConnection, listening, [this, listening] {
            while (listening->hasPendingConnections()) Accept(listening->nextPendingConnection());
        });
        Log("listening on " + AddressText(address, listening->serverPort()));
        if (!address.isLoopback() && m_options.allow.empty()) {
            Log("anyone who can reach this address may drive the instrument; --allow CIDR "
                "limits who may connect");
        }
        m_servers.push_back(std::move(server));
    }
    return true;
}

std::size_t ScpiBridge::Stop() {
    m_pace.stop();
    const std::size_t unwritten = m_queue.size();
    m_queue.clear();
    m_servers.clear();
    for (auto& [id, client] : m_clients) {
        client->socket->disconnect();
        client->socket->abort();
    }
    m_clients.clear();
    return unwritten;
}

void ScpiBridge::Accept(QTcpSocket* accepted) {
    std::unique_ptr<QTcpSocket> socket(accepted);
    socket->setParent(nullptr);
    const std::string peer = AddressText(socket->peerAddress(), socket->peerPort());
    const auto refuse = [&](const std::string& why) {
        Log(fmt::format("refused {}: {}", peer, why));
        socket->close();
    };
    if (!Allowed(socket->peerAddress())) return refuse("not in --allow");
    if (m_clients.size() >= kMaxClients) {
        return refuse(fmt::format("{} clients are connected, the most served at once", kMaxClients));
    }
    const quint64 id = ++m_lastClient;
    QTcpSocket* raw = socket.get();
    raw->setReadBufferSize(kReadBufferBytes);
    raw->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QObject::connect(raw, &QTcpSocket::readyRead, raw, [this, id] { Pump(id); });
    QObject::connect(raw, &QTcpSocket::bytesWritten, raw, [this, id] { Pump(id); });
    QObject::connect(raw, &QTcpSocket::disconnected, raw, [this, id] { Leave(id); });
    m_clients.emplace(id, std::make_unique<Client>(Client{id, std::move(socket), peer}));
    Log(fmt::format("client {} connected from {}", id, peer));
    Pump(id);
}

bool ScpiBridge::Allowed(const QHostAddress& peer) const {
    const QHostAddress address = Unmapped(peer);
    return m_options.allow.empty() ||
           std::any_of(m_options.allow.begin(), m_options.allow.end(),
                       [&address](const Subnet& subnet) { return address.isInSubnet(subnet); });
}

ScpiBridge::Client* ScpiBridge::Find(quint64 id) {
    const auto found = m_clients.find(id);
    return found == m_clients.end() ? nullptr : found->second.get();
}

void ScpiBridge::Pump(quint64 id) {
    Client* client = Find(id);
    while (client != nullptr && !client->held && client->linesInFlight < kMaxLinesInFlight &&
           client->socket->bytesToWrite() < kMaxUnreadReplies) {
        std::optional<ReceivedLine> line = NextLine(*client);
        if (!line) return;
        Take(*client, std::move(*line));
    }
}

std::optional<ScpiBridge::ReceivedLine> ScpiBridge::NextLine(Client& client) {
    QTcpSocket& socket = *client.socket;
    while (socket.canReadLine() || socket.bytesAvailable() > kLongestLineOnWire) {
        const QByteArray chunk =
            socket.canReadLine() ? socket.readLine(kLongestLineOnWire + 1) : socket.readAll();
        const bool ended = chunk.endsWith('\n');
        std::string text = chunk.left(ended ? chunk.size() - 1 : chunk.size()).toStdString();
        if (!ended) {
            if (!client.cutLine) client.cutLine = std::move(text);
            continue;
        }
        if (client.cutLine) {
            ReceivedLine cut{std::move(*client.cutLine), true};
            client.cutLine.reset();
            return cut;
        }
        if (text.ends_with('\r')) text.pop_back();
        return ReceivedLine{std::move(text)};
    }
    return std::nullopt;
}

bool ScpiBridge::GoesToInstrument(const ReceivedLine& line) {
    return !line.cut && !RefusalOf(line.text) && !IsBlank(line.text) &&
           !HeaderOf(line.text).ends_with('?');
}

void ScpiBridge::Take(Client& client, ReceivedLine line) {
    if (!GoesToInstrument(line)) {
        if (client.linesInFlight > 0) {
            client.held = std::move(line);
        } else {
            HandleHere(client, line);
        }
        return;
    }
    ++client.linesInFlight;
    m_queue.push_back({client.id, std::move(line.text)});
    if (!m_writingFor) WriteNext();
}

void ScpiBridge::HandleHere(Client& client, const ReceivedLine& line) {
    if (line.cut || RefusalOf(line.text)) return QueueError(client, RefusalEntry(line.text, line.cut));
    if (IsBlank(line.text)) return;
    const std::string_view header = HeaderOf(line.text);
    if (HeaderMatches("*IDN?", header)) return Answer(client, m_options.identity);
    if (HeaderMatches("*OPC?", header)) return Answer(client, "1");
    if (HeaderMatches("SYSTem:ERRor?", header) || HeaderMatches("SYSTem:ERRor:NEXT?", header)) {
        if (client.errors.empty()) return Answer(client, kNoError);
        const std::string oldest = std::move(client.errors.front());
        client.errors.pop_front();
        return Answer(client, oldest);
    }
    QueueError(client, kCannotAnswer);
}

// Sent at once rather than on the event loop's next turn: a client waits for nothing else.
void ScpiBridge::Answer(Client& client, const std::string& reply) {
    client.socket->write(QByteArray::fromStdString(reply + '\n'));
    client.socket->flush();
}

void ScpiBridge::QueueError(Client& client, std::string entry) {
    if (client.errors.size() < kMaxErrors) {
        client.errors.push_back(std::move(entry));
    } else {
        client.errors.back() = kQueueOverflow;
    }
}

void ScpiBridge::Leave(quint64 id) {
    Client* client = Find(id);
    if (client == nullptr) return;
    Log(fmt::format("client {} ({}) left", id, client->peer));
    // The lines it ended before it went are still written in their turn; only its unfinished
    // line is lost, and there is no one left to answer.
    while (std::optional<ReceivedLine> line = NextLine(*client)) {
        if (GoesToInstrument(*line)) m_queue.push_back({id, std::move(line->text)});
    }
    client->socket->disconnect();
    client->socket.release()->deleteLater();
    m_clients.erase(id);
    if (!m_writingFor && !m_queue.empty()) WriteNext();
}

void ScpiBridge::WriteNext() {
    const QueuedLine next = std::move(m_queue.front());
    m_queue.pop_front();
    m_writingFor = next.client;
    const SendReport report = SendSingleCommand(next.line);
    if (report.outcome == SendOutcome::Sent) {
        m_pace.start(static_cast<int>(PauseAfter(next.line)));
        return;
    }
    if (Client* client = Find(next.client)) {
        const std::string reason =
            report.reason.empty() ? std::string("the line buffer could not be had") : report.reason;
        QueueError(*client, ErrorEntry(-240, "Hardware error",
                                       fmt::format("the command \"{}\" did not reach the "
                                                   "instrument: {}",
                                                   PrintableText(next.line), reason)));
    }
    m_pace.start(0);
}

void ScpiBridge::LinePaced() {
    const quint64 id = *m_writingFor;
    if (Client* client = Find(id)) {
        if (--client->linesInFlight == 0 && client->held) {
            const ReceivedLine held = std::move(*client->held);
            client->held.reset();
            HandleHere(*client, held);
        }
        Pump(id);
    }
    m_writingFor.reset();
    if (!m_queue.empty()) WriteNext();
}

unsigned ScpiBridge::PauseAfter(const std::string& line) const {
    return PanelPauseAfter(HeaderOf(line)).value_or(m_options.gapMs);
}

void ScpiBridge::Log(const std::string& text) { LogServe(m_log, text); }
