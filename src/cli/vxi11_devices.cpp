#include "cli/vxi11_devices.h"

#include <fmt/format.h>

#include <algorithm>

#include "cli/scpi_bridge.h"
#include "cli/vxi11_link.h"

namespace valdrix::cli {

Vxi11Devices::Vxi11Devices(std::vector<ScpiBridge*> bridges, QObject& context, std::ostream& log,
                           std::function<void(quint64 connection)> resume)
    : m_bridges(std::move(bridges)),
      m_context(context),
      m_log(log),
      m_resume(std::move(resume)),
      m_locks(m_bridges.size()) {}

Vxi11Devices::~Vxi11Devices() {
    for (auto& [id, link] : m_links) {
        if (const auto channel = link.channel.lock()) channel->FollowBridge(m_context, {});
    }
}

std::uint32_t Vxi11Devices::Add(Link link) {
    const std::uint32_t number = ++m_lastLink;
    m_links[number] = std::move(link);
    return number;
}

Vxi11Devices::Link* Vxi11Devices::Find(std::uint32_t link) {
    const auto found = m_links.find(link);
    if (found == m_links.end()) return nullptr;
    if (found->second.channel.expired()) {
        LogServe(m_log, fmt::format("VXI-11 link {} ended with its client {}", link,
                                    found->second.client));
        End(link);
        return nullptr;
    }
    return &found->second;
}

void Vxi11Devices::Take(std::uint32_t link) {
    LockOf(link).holder = link;
    BridgeOf(m_links.at(link)).HoldInstrumentFor(m_links.at(link).client);
}

void Vxi11Devices::Release(std::uint32_t link) {
    DeviceLock& lock = LockOf(link);
    if (lock.holder != link) return;
    lock.holder.reset();
    BridgeOf(m_links.at(link)).HoldInstrumentFor(std::nullopt);
    if (lock.waiters.empty()) return;
    const quint64 next = lock.waiters.front();
    QMetaObject::invokeMethod(
        &m_context, [this, next] { m_resume(next); }, Qt::QueuedConnection);
}

void Vxi11Devices::End(std::uint32_t link) {
    Release(link);
    if (const auto channel = m_links.at(link).channel.lock()) {
        channel->FollowBridge(m_context, {});
        channel->End();
    }
    m_links.erase(link);
}

void Vxi11Devices::EndLinksOf(quint64 connection) {
    std::vector<std::uint32_t> links;
    for (const auto& [number, link] : m_links) {
        if (link.connection == connection) links.push_back(number);
    }
    for (const std::uint32_t link : links) End(link);
}

void Vxi11Devices::StopWaitingForLocks(quint64 connection) {
    for (DeviceLock& lock : m_locks) std::erase(lock.waiters, connection);
}

}  // namespace valdrix::cli
