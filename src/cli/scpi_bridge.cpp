#include "cli/scpi_bridge.h"

#include <fmt/format.h>
#include <unistd.h>

#include <QTcpServer>
#include <algorithm>
#include <mutex>
#include <numeric>
#include <ostream>

#include "cli/bridge_client.h"
#include "cli/cli_usage.h"
#include "cli/client_socket.h"
#include "cli/client_status.h"
#include "cli/descriptor_server.h"
#include "link/command_line.h"

namespace valdrix::cli {

using namespace valdrix::link;
using namespace valdrix::model;

namespace {

constexpr std::size_t kMaxClients = 16;
// Clients that stopped sending but still wait for answers to their last lines hold no place,
// but no more connections than this are kept at once.
constexpr std::size_t kMaxConnections = 2 * kMaxClients;
}  // namespace

void LogServe(std::ostream& log, std::string_view text) {
    static std::mutex oneLineAtATime;
    const std::lock_guard lock(oneLineAtATime);
    log << kCliProgram << " serve: " << text << '\n' << std::flush;
}

ScpiBridge::ScpiBridge(valdrix::link::Instrument& instrument, BridgeOptions options,
                       std::ostream& log)
    : m_options(std::move(options)), m_log(log), m_sender(instrument) {}

ScpiBridge::~ScpiBridge() {
    Stop();
}

bool ScpiBridge::Listen() {
    for (const auto& [address, port] : m_options.listen) {
        auto server =
            std::make_unique<DescriptorServer>([this](int descriptor) { Accept(descriptor); });
        if (!server->listen(ListeningAddress(address), port)) {
            Log(fmt::format("cannot listen on {}: {}", AddressText(address, port),
                            server->errorString().toStdString()));
            return false;
        }
        Log("listening on " + AddressText(address, server->serverPort()));
        if (!address.isLoopback() && m_options.allow.empty()) {
            Log("anyone who can reach this address may drive the instrument; --allow CIDR "
                "limits who may connect");
        }
        m_servers.push_back(std::move(server));
    }
    return true;
}

std::vector<quint16> ScpiBridge::Ports() const {
    std::vector<quint16> ports;
    for (const auto& server : m_servers) ports.push_back(server->serverPort());
    return ports;
}

std::size_t ScpiBridge::Stop() {
    m_sender.Stop();
    m_stopped = true;
    m_servers.clear();
    std::size_t unwritten = 0;
    for (const auto& [id, client] : m_clients) {
        unwritten += static_cast<std::size_t>(
            std::count_if(client->steps.begin(), client->steps.end(),
                          [](const Step& step) { return step.kind == Step::Kind::Write; }));
    }
    m_clients.clear();
    return unwritten;
}

void ScpiBridge::Accept(int descriptor) {
    quint16 port = 0;
    const QHostAddress address = PeerOf(descriptor, port);
    const std::string peer = AddressText(address, port);
    const auto joined = Join(address, peer, [descriptor](std::function<void()> changed) {
        return std::make_shared<ClientSocket>(descriptor, std::move(changed));
    });
    if (const auto* why = std::get_if<std::string>(&joined)) Refuse(descriptor, peer, *why);
}

std::variant<quint64, std::string> ScpiBridge::Join(const QHostAddress& address,
                                                    const std::string& peer,
                                                    const ChannelMaker& makeChannel) {
    if (const auto why = WhyNotServed(address)) return *why;
    const quint64 id = ++m_lastClient;
    auto client = std::make_unique<Client>(id, peer);
    client->socket = makeChannel([this, id] { Pump(id); });
    if (m_options.idleTimeoutSeconds) {
        client->idle.setSingleShot(true);
        client->idle.setInterval(static_cast<int>(*m_options.idleTimeoutSeconds * 1000));
        QObject::connect(&client->idle, &QTimer::timeout, &m_context, [this, id] { IdleFor(id); });
        client->idle.start();
    }
    m_clients.emplace(id, std::move(client));
    Log(fmt::format("client {} connected from {}", id, peer));
    return id;
}

std::size_t ScpiBridge::Clear(quint64 id) {
    Client* client = Find(id);
    if (client == nullptr) return 0;
    const auto unwritten = static_cast<std::size_t>(
        std::count_if(client->steps.begin(), client->steps.end(),
                      [](const Step& step) { return step.kind == Step::Kind::Write; }));
    client->steps.clear();
    client->answers.clear();
    client->cutLine.reset();
    client->linesInFlight = 0;
    return unwritten;
}

std::optional<std::uint8_t> ScpiBridge::StatusByte(quint64 id) {
    const Client* client = Find(id);
    if (client == nullptr) return std::nullopt;
    return client->status.StatusByte();
}

void ScpiBridge::HoldInstrumentFor(std::optional<quint64> id) {
    m_heldFor = id;
    WriteNext();
}

void ScpiBridge::Refuse(int descriptor, const std::string& peer, const std::string& why) {
    Log(fmt::format("refused {}: {}", peer, why));
    ::close(descriptor);
}

std::optional<std::string> ScpiBridge::WhyNotServed(const QHostAddress& peer) {
    if (!Allowed(peer)) return "not in --allow";
    if (ClientsStillSending() >= kMaxClients || m_clients.size() >= kMaxConnections) {
        SettleClients();
    }
    if (ClientsStillSending() >= kMaxClients) {
        return fmt::format("{} clients are connected, the most served at once", kMaxClients);
    }
    if (m_clients.size() >= kMaxConnections) {
        return fmt::format("{} connections are still being answered", m_clients.size());
    }
    return std::nullopt;
}

// A client that closed just before may not have been heard of yet, and one that is done may not
// have been removed yet: their places are free. Runs outside every client's own callbacks.
void ScpiBridge::SettleClients() {
    std::vector<quint64> ids;
    for (const auto& entry : m_clients) ids.push_back(entry.first);
    for (const quint64 id : ids) {
        m_clients.at(id)->socket->ReadNow();
        Pump(id);
    }
    for (const quint64 id : ids) Reap(id);
}

std::size_t ScpiBridge::ClientsStillSending() const {
    return static_cast<std::size_t>(
        std::count_if(m_clients.begin(), m_clients.end(), [](const auto& entry) {
            return !entry.second->socket->ReceiveEnded() && !entry.second->closing;
        }));
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

// Takes a client's lines as far as its limits allow and carries out what needs no instrument.
// Never removes a client: that waits for the event loop, so no caller holds a client that is
// gone.
void ScpiBridge::Pump(quint64 id) {
    Client* client = Find(id);
    if (client == nullptr || m_stopped) return;
    if (!client->socket->Received().empty() && client->idle.isActive()) client->idle.start();
    do {
        CarryOut(*client);
    } while (TakeLine(*client));
    WriteNext();
    if (Finished(*client)) {
        QMetaObject::invokeMethod(
            &m_context, [this, id] { Reap(id); }, Qt::QueuedConnection);
    }
}

void ScpiBridge::WriteNext() {
    if (m_writingFor || m_stopped) return;
    Client* client = NextInTurn();
    if (client == nullptr) return;
    Step step = std::move(client->steps.front());
    client->steps.pop_front();
    client->writing = true;
    m_writingFor = m_lastTurn = client->id;
    const quint64 id = client->id;
    const auto written = [this, id, line = step.text](const SendReport& report) {
        QMetaObject::invokeMethod(
            &m_context, [this, id, line, report] { Written(id, line, report); },
            Qt::QueuedConnection);
    };
    CommandSequence send = {{step.text, {}, {}}};
    if (step.pauseMs > 0) send.front().pausesAfter.push_back(step.pauseMs);
    // The line passed its check when it was taken; a refusal still ends its turn.
    if (const auto refused = m_sender.Queue(std::move(send), {}, written)) written(*refused);
}

// The next client after the last one served whose next step is a command for the
// instrument: one command of each waiting client in turn.
ScpiBridge::Client* ScpiBridge::NextInTurn() {
    const auto waiting = [this](const auto& entry) {
        const Client& client = *entry.second;
        return (!m_heldFor || *m_heldFor == client.id) && !client.writing &&
               !client.steps.empty() && client.steps.front().kind == Step::Kind::Write;
    };
    auto next = std::find_if(m_clients.upper_bound(m_lastTurn), m_clients.end(), waiting);
    if (next == m_clients.end()) next = std::find_if(m_clients.begin(), m_clients.end(), waiting);
    return next == m_clients.end() ? nullptr : next->second.get();
}

// The command was written and paced, or failed with no pause after it: the client's turn is over.
void ScpiBridge::Written(quint64 id, const std::string& line, const SendReport& report) {
    if (m_stopped) return;
    m_writingFor.reset();
    if (!report.message.empty()) Log(report.message);
    Client* client = Find(id);
    if (client != nullptr && report.outcome != SendOutcome::Sent) {
        const std::string failure =
            report.reason.empty() ? std::string("the line buffer could not be had") : report.reason;
        client->status.Record(ErrorEntry(-240, "Hardware error",
                                         fmt::format("the command \"{}\" did not reach the "
                                                     "instrument: {}",
                                                     PrintableText(line), failure)));
    }
    if (client != nullptr) {
        client->writing = false;
        Pump(id);
    }
    WriteNext();
}

void ScpiBridge::IdleFor(quint64 id) {
    Client* client = Find(id);
    if (client == nullptr) return;
    if (client->writing || !client->steps.empty()) return client->idle.start();
    Log(fmt::format("client {} ({}) sent nothing for {} s: closing it", id, client->peer,
                    *m_options.idleTimeoutSeconds));
    client->closing = true;
    Pump(id);
}

// Done with a client: it sends no more, every line of it is carried out and its answers are
// sent or can no longer be.
bool ScpiBridge::Finished(const Client& client) const {
    const ClientChannel& socket = *client.socket;
    return (socket.ReceiveEnded() || client.closing) && client.steps.empty() && !client.writing &&
           (socket.Unsent() == 0 || socket.Broken() || client.closing);
}

void ScpiBridge::Reap(quint64 id) {
    const Client* client = Find(id);
    if (client == nullptr || !Finished(*client)) return;
    Log(fmt::format("client {} ({}) left", id, client->peer));
    m_clients.erase(id);
}

void ScpiBridge::Log(const std::string& text) {
    LogServe(m_log, text);
}

}  // namespace valdrix::cli
