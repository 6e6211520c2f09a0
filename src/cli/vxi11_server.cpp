#include "cli/vxi11_server.h"

#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "cli/client_socket.h"
#include "cli/descriptor_server.h"
#include "cli/scpi_bridge.h"
#include "cli/vxi11_link.h"
#include "cli/vxi11_messages.h"
#include "link/command_line.h"

namespace valdrix::cli {

using namespace vxi11;

namespace {

constexpr std::size_t kMaxConnections = 32;
// A device_write's data and its headers.
constexpr std::size_t kLongestRecord = kMaxReceiveSize + 1024;

// Carries out a call on its parsed arguments; arguments that do not parse are garbage.
template <typename Message, typename Handler>
Vxi11Server::Answer With(const std::optional<Message>& message, Handler handle) {
    if (!message) return {AcceptStat::GarbageArguments, std::string()};
    return {AcceptStat::Success, handle(*message)};
}

}  // namespace

Vxi11Server::Vxi11Server(std::vector<ScpiBridge*> bridges, std::ostream& log)
    : m_bridges(std::move(bridges)), m_log(log), m_locks(m_bridges.size()) {}

Vxi11Server::~Vxi11Server() {
    for (auto& [id, link] : m_links) {
        if (const auto channel = link.channel.lock()) channel->FollowBridge(m_context, {});
    }
}

bool Vxi11Server::Listen(const std::vector<QHostAddress>& addresses) {
    for (const QHostAddress& address : addresses) {
        if (!ListenOn(address, m_corePort) || !ListenOn(address, m_abortPort)) return false;
        Log(fmt::format("VXI-11 on {} (core channel), abort channel on port {}",
                        AddressText(address, m_corePort), m_abortPort));
    }
    return true;
}

// The first address takes a port of the system's choosing; the others take the same.
bool Vxi11Server::ListenOn(const QHostAddress& address, quint16& port) {
    auto server =
        std::make_unique<DescriptorServer>([this](int descriptor) { Accept(descriptor); });
    if (!server->listen(ListeningAddress(address), port)) {
        Log(fmt::format("cannot listen for VXI-11 on {}: {}", AddressText(address, port),
                        server->errorString().toStdString()));
        return false;
    }
    port = server->serverPort();
    m_servers.push_back(std::move(server));
    return true;
}

void Vxi11Server::Accept(int descriptor) {
    quint16 port = 0;
    const QHostAddress address = PeerOf(descriptor, port);
    const std::string peer = AddressText(address, port);
    // Every instrument's bridge has the same --allow.
    const bool allowed = m_bridges.front()->Allowed(address);
    if (!allowed || m_connections.size() >= kMaxConnections) {
        Log(fmt::format("refused VXI-11 connection from {}: {}", peer,
                        allowed ? "too many connections" : "not in --allow"));
        ::close(descriptor);
        return;
    }
    const quint64 id = ++m_lastConnection;
    Connection& connection = m_connections[id];
    connection.peer = peer;
    connection.address = address;
    connection.socket = std::make_unique<ClientSocket>(descriptor, [this, id] { Serve(id); });
}

// Carries out the connection's calls in order while none of them waits.
void Vxi11Server::Serve(quint64 id) {
    const auto found = m_connections.find(id);
    if (found == m_connections.end()) return;
    Connection& connection = found->second;
    while (!connection.pending && !connection.closing) {
        const RecordScan scan = TakeRecord(connection.socket->Received(), kLongestRecord);
        if (scan.tooLong) {
            Log(
                fmt::format("VXI-11 connection from {} sent a call longer than {} bytes: closing "
                            "it",
                            connection.peer, kLongestRecord));
            return Close(id);
        }
        if (!scan.record) break;
        connection.socket->Take(scan.consumed);
        const std::optional<RpcCall> call = ParseCall(*scan.record);
        if (!call) {
            Log(
                fmt::format("VXI-11 connection from {} sent something that is not an RPC call: "
                            "closing it",
                            connection.peer));
            return Close(id);
        }
        Dispatch(id, *call);
    }
    if (connection.socket->ReceiveEnded() && !connection.closing) Close(id);
}

void Vxi11Server::Dispatch(quint64 id, const RpcCall& call) {
    Connection& connection = m_connections.at(id);
    if (call.rpcVersion != 2)
        return connection.socket->Send(RecordOf(RpcVersionMismatch(call.xid)));
    Answer answer{AcceptStat::ProcedureUnavailable, std::string()};
    if (call.program != kCoreProgram && call.program != kAbortProgram) {
        answer.status = AcceptStat::ProgramUnavailable;
    } else if (call.version != kVersion) {
        answer = {AcceptStat::ProgramMismatch, XdrWriter().Uint(kVersion).Uint(kVersion).Bytes()};
    } else if (call.procedure == kNull) {
        answer.status = AcceptStat::Success;
    } else if (call.program == kAbortProgram) {
        if (call.procedure == kDeviceAbort) {
            answer =
                With(ParseLink(call.arguments), [this](std::uint32_t link) { return Abort(link); });
        }
    } else {
        answer = CallCore(id, call);
    }
    if (answer.status == AcceptStat::Success && !answer.results) return;  // it waits
    connection.socket->Send(
        RecordOf(AcceptedReply(call.xid, answer.status, answer.results.value_or(""))));
}

Vxi11Server::Answer Vxi11Server::CallCore(quint64 id, const RpcCall& call) {
    const std::string& arguments = call.arguments;
    switch (call.procedure) {
        case kCreateLink:
            return With(ParseCreateLink(arguments),
                        [&](const vxi11::CreateLink& message) { return CreateLink(id, message); });
        case kDeviceWrite:
            return With(ParseWrite(arguments),
                        [&](const vxi11::Write& message) { return Write(id, call.xid, message); });
        case kDeviceRead:
            return With(ParseRead(arguments),
                        [&](const vxi11::Read& message) { return Read(id, call.xid, message); });
        case kDeviceReadStb:
        case kDeviceTrigger:
        case kDeviceClear:
        case kDeviceRemote:
        case kDeviceLocal:
            return With(ParseGeneric(arguments), [&](const vxi11::Generic& message) {
                return Generic(call.procedure, message);
            });
        case kDeviceLock:
            return With(ParseLock(arguments),
                        [&](const vxi11::Lock& message) { return Lock(id, call.xid, message); });
        case kDeviceUnlock:
            return With(ParseLink(arguments), [this](std::uint32_t link) { return Unlock(link); });
        case kDestroyLink:
            return With(ParseLink(arguments),
                        [this](std::uint32_t link) { return DestroyLink(link); });
        default:
            // Service requests, docmd and the interrupt channel are not served.
            return {AcceptStat::Success, ErrorResult(kOperationNotSupported)};
    }
}

std::optional<std::string> Vxi11Server::CreateLink(quint64 id, const vxi11::CreateLink& message) {
    const Connection& connection = m_connections.at(id);
    const auto instrument = InstrumentOf(message.device, m_bridges.size());
    if (!instrument) {
        Log(fmt::format(
            "VXI-11 link from {} refused: there is no device \"{}\" here, only inst0 "
            "to inst{}",
            connection.peer, valdrix::link::PrintableText(message.device), m_bridges.size() - 1));
        return CreateLinkResult(kDeviceNotAccessible, 0, 0);
    }
    if (message.lockDevice && m_locks[*instrument].holder) {
        return CreateLinkResult(kDeviceLocked, 0, 0);
    }
    std::shared_ptr<Vxi11Link> channel;
    const auto joined = m_bridges[*instrument]->Join(
        connection.address, fmt::format("{} over VXI-11 {}", connection.peer, message.device),
        [&channel](std::function<void()> changed) {
            channel = std::make_shared<Vxi11Link>(std::move(changed));
            return channel;
        });
    if (const auto* why = std::get_if<std::string>(&joined)) {
        Log(fmt::format("VXI-11 link from {} refused: {}", connection.peer, *why));
        return CreateLinkResult(kOutOfResources, 0, 0);
    }
    const std::uint32_t link = ++m_lastLink;
    channel->FollowBridge(m_context, [this, id] { Resume(id); });
    m_links[link] = Link{channel, id, std::get<quint64>(joined), *instrument};
    if (message.lockDevice) Take(link);
    return CreateLinkResult(kNoError, link, m_abortPort);
}

// Returns once the lines written are in the link's queue, as a raw socket's read of them does.
std::optional<std::string> Vxi11Server::Write(quint64 id, std::uint32_t xid,
                                              const vxi11::Write& message) {
    Link* link = Find(message.link);
    if (link == nullptr) return WriteResult(kInvalidLink, 0);
    link->Channel().Add(message.data, (message.flags & kEnd) != 0);
    Pending pending{xid, kDeviceWrite, message.link,
                    static_cast<std::uint32_t>(message.data.size())};
    if (auto results = Finish(pending)) return results;
    Wait(id, std::move(pending), std::nullopt);
    return std::nullopt;
}

std::optional<std::string> Vxi11Server::Read(quint64 id, std::uint32_t xid,
                                             const vxi11::Read& message) {
    if (Find(message.link) == nullptr) return ReadResult(kInvalidLink, 0, {});
    Pending pending{xid, kDeviceRead, message.link,
                    std::max<std::uint32_t>(message.requestSize, 1)};
    if ((message.flags & kTermCharSet) != 0) {
        pending.termChar = static_cast<unsigned char>(message.termChar);
    }
    if (auto results = Finish(pending)) return results;
    Wait(id, std::move(pending), message.ioTimeoutMs);
    return std::nullopt;
}

std::optional<std::string> Vxi11Server::Lock(quint64 id, std::uint32_t xid,
                                             const vxi11::Lock& message) {
    if (Find(message.link) == nullptr) return ErrorResult(kInvalidLink);
    DeviceLock& lock = LockOf(message.link);
    if (lock.holder == message.link) return ErrorResult(kNoError);
    if (!lock.holder && lock.waiters.empty()) {
        Take(message.link);
        return ErrorResult(kNoError);
    }
    if ((message.flags & kWaitLock) == 0 || message.lockTimeoutMs == 0) {
        return ErrorResult(kDeviceLocked);
    }
    lock.waiters.push_back(id);
    Wait(id, Pending{xid, kDeviceLock, message.link}, message.lockTimeoutMs);
    return std::nullopt;
}

std::optional<std::string> Vxi11Server::Unlock(std::uint32_t link) {
    if (Find(link) == nullptr) return ErrorResult(kInvalidLink);
    if (LockOf(link).holder != link) return ErrorResult(kNoLockHeld);
    Release(link);
    return ErrorResult(kNoError);
}

std::optional<std::string> Vxi11Server::Generic(std::uint32_t procedure,
                                                const vxi11::Generic& message) {
    Link* link = Find(message.link);
    if (procedure == kDeviceReadStb) {
        if (link == nullptr) return ReadStbResult(kInvalidLink, 0);
        return ReadStbResult(kNoError, BridgeOf(*link).StatusByte(link->client).value_or(0));
    }
    if (link == nullptr) return ErrorResult(kInvalidLink);
    if (procedure == kDeviceTrigger) link->Channel().AddLine("*TRG");
    // As the panel's Local button: the instrument goes back to its front panel.
    if (procedure == kDeviceLocal) link->Channel().AddLine("*SYSTem:LOCal");
    if (procedure == kDeviceClear) {
        const std::size_t dropped = BridgeOf(*link).Clear(link->client);
        link->Channel().Clear();
        Log(
            fmt::format("client {}: device clear dropped {} command(s) not yet written and the "
                        "answers not read",
                        link->client, dropped));
    }
    return ErrorResult(kNoError);
}

std::optional<std::string> Vxi11Server::DestroyLink(std::uint32_t link) {
    if (Find(link) == nullptr) return ErrorResult(kInvalidLink);
    End(link);
    return ErrorResult(kNoError);
}

// Ends the call that waits on the link's connection: a read, a write or a lock.
std::optional<std::string> Vxi11Server::Abort(std::uint32_t link) {
    const Link* found = Find(link);
    if (found == nullptr) return ErrorResult(kInvalidLink);
    const quint64 id = found->connection;
    Connection& connection = m_connections.at(id);
    if (connection.pending && connection.pending->link == link) {
        const Pending pending = std::move(*connection.pending);
        connection.pending.reset();
        StopWaitingForLocks(id);
        Reply(id, pending.xid,
              pending.procedure == kDeviceRead    ? ReadResult(kAborted, 0, {})
              : pending.procedure == kDeviceWrite ? WriteResult(kAborted, 0)
                                                  : ErrorResult(kAborted));
        QMetaObject::invokeMethod(
            &m_context, [this, id] { Serve(id); }, Qt::QueuedConnection);
    }
    return ErrorResult(kNoError);
}

void Vxi11Server::Wait(quint64 id, Pending pending, std::optional<std::uint32_t> timeoutMs) {
    Connection& connection = m_connections.at(id);
    connection.pending = std::move(pending);
    if (!timeoutMs) return;
    // The timer may end the call from inside its own timeout: it goes from the event loop.
    connection.pending->deadline = std::shared_ptr<QTimer>(new QTimer, [](QTimer* timer) {
        timer->stop();
        timer->deleteLater();
    });
    QTimer& deadline = *connection.pending->deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &m_context, [this, id] { TimedOut(id); });
    deadline.start(static_cast<int>(std::min<std::uint32_t>(*timeoutMs, INT32_MAX)));
}

// Answers the call that waits on a connection when it can be answered now, and goes on with
// the connection's next calls.
void Vxi11Server::Resume(quint64 id) {
    const auto found = m_connections.find(id);
    if (found == m_connections.end() || !found->second.pending) return;
    Connection& connection = found->second;
    const std::optional<std::string> results = Finish(*connection.pending);
    if (!results) return;
    const std::uint32_t xid = connection.pending->xid;
    connection.pending.reset();
    Reply(id, xid, *results);
    Serve(id);
}

std::optional<std::string> Vxi11Server::Finish(const Pending& pending) {
    Link* link = Find(pending.link);
    if (pending.procedure == kDeviceLock) {
        if (link == nullptr) return std::nullopt;
        DeviceLock& lock = m_locks[link->instrument];
        if (lock.holder || lock.waiters.empty() || lock.waiters.front() != link->connection) {
            return std::nullopt;
        }
        lock.waiters.pop_front();
        Take(pending.link);
        return ErrorResult(kNoError);
    }
    if (link == nullptr) {
        return pending.procedure == kDeviceRead ? ReadResult(kInvalidLink, 0, {})
                                                : WriteResult(kInvalidLink, 0);
    }
    if (pending.procedure == kDeviceWrite) {
        if (!link->Channel().LinesTaken()) return std::nullopt;
        return WriteResult(kNoError, pending.requestSize);
    }
    if (!link->Channel().HasAnswer()) return std::nullopt;
    std::uint32_t reason = 0;
    const std::string data =
        link->Channel().TakeAnswer(pending.requestSize, pending.termChar, reason);
    return ReadResult(kNoError, reason, data);
}

// A read that got no answer in its io_timeout, or a lock not had in its lock_timeout.
void Vxi11Server::TimedOut(quint64 id) {
    Connection& connection = m_connections.at(id);
    if (!connection.pending) return;
    const Pending pending = std::move(*connection.pending);
    connection.pending.reset();
    StopWaitingForLocks(id);
    Reply(id, pending.xid,
          pending.procedure == kDeviceRead ? ReadResult(kIoTimeout, 0, {})
                                           : ErrorResult(kDeviceLocked));
    Serve(id);
}

void Vxi11Server::Reply(quint64 id, std::uint32_t xid, const std::string& results) {
    m_connections.at(id).socket->Send(RecordOf(AcceptedReply(xid, AcceptStat::Success, results)));
}

// While a link holds the lock, the commands of every other client of the bridge wait.
void Vxi11Server::Take(std::uint32_t link) {
    LockOf(link).holder = link;
    BridgeOf(m_links.at(link)).HoldInstrumentFor(m_links.at(link).client);
}

void Vxi11Server::Release(std::uint32_t link) {
    DeviceLock& lock = LockOf(link);
    if (lock.holder != link) return;
    lock.holder.reset();
    BridgeOf(m_links.at(link)).HoldInstrumentFor(std::nullopt);
    if (lock.waiters.empty()) return;
    const quint64 next = lock.waiters.front();
    QMetaObject::invokeMethod(
        &m_context, [this, next] { Resume(next); }, Qt::QueuedConnection);
}

// The link's client sends no more; the bridge lets it go once its lines are done.
void Vxi11Server::End(std::uint32_t link) {
    Release(link);
    if (const auto channel = m_links.at(link).channel.lock()) {
        channel->FollowBridge(m_context, {});
        channel->End();
    }
    m_links.erase(link);
}

void Vxi11Server::Close(quint64 id) {
    Connection& connection = m_connections.at(id);
    connection.closing = true;
    connection.pending.reset();
    StopWaitingForLocks(id);
    std::vector<std::uint32_t> links;
    for (const auto& [number, link] : m_links) {
        if (link.connection == id) links.push_back(number);
    }
    for (const std::uint32_t link : links) End(link);
    // The socket goes from the event loop, never from inside one of its own calls.
    QMetaObject::invokeMethod(
        &m_context, [this, id] { m_connections.erase(id); }, Qt::QueuedConnection);
}

void Vxi11Server::StopWaitingForLocks(quint64 id) {
    for (DeviceLock& lock : m_locks) std::erase(lock.waiters, id);
}

Vxi11Server::Link* Vxi11Server::Find(std::uint32_t link) {
    const auto found = m_links.find(link);
    if (found == m_links.end()) return nullptr;
    if (found->second.channel.expired()) {
        Log(fmt::format("VXI-11 link {} ended with its client {}", link, found->second.client));
        End(link);
        return nullptr;
    }
    return &found->second;
}

void Vxi11Server::Log(const std::string& text) {
    LogServe(m_log, text);
}

}  // namespace valdrix::cli
