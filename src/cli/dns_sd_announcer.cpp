#include "cli/dns_sd_announcer.h"

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>
#include <fmt/format.h>

#include <QHostInfo>
#include <QNetworkInterface>
#include <algorithm>

#include "cli/scpi_bridge.h"

namespace valdrix::cli {

namespace {

constexpr char kNoDaemon[] =
    "no Avahi daemon runs: not announced by DNS-SD (apt install avahi-daemon provides it)";

struct Service {
    const char* type;
    quint16 port;
};

std::vector<std::string> Fields(const std::string& identity) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = identity.find(',', start)) != std::string::npos;) {
        fields.push_back(identity.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(identity.substr(start));
    fields.resize(4);
    return fields;
}

// The interface an address is on, for a bridge that listens on that address only.
AvahiIfIndex InterfaceOf(const QHostAddress& address) {
    if (address == QHostAddress(QHostAddress::Any) ||
        address == QHostAddress(QHostAddress::AnyIPv6)) {
        return AVAHI_IF_UNSPEC;
    }
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().isEqual(address)) return interface.index();
        }
    }
    return AVAHI_IF_UNSPEC;
}

AvahiProtocol ProtocolOf(const QHostAddress& address) {
    if (address == QHostAddress(QHostAddress::AnyIPv6)) return AVAHI_PROTO_UNSPEC;
    return address.protocol() == QAbstractSocket::IPv6Protocol ? AVAHI_PROTO_INET6
                                                               : AVAHI_PROTO_INET;
}

}  // namespace

std::unique_ptr<DnsSdAnnouncer> DnsSdAnnouncer::Start(Announcement announcement,
                                                      std::ostream& log) {
    std::erase_if(announcement.raw, [](const auto& listen) { return listen.first.isLoopback(); });
    if (announcement.raw.empty()) {
        LogServe(log, "listening on the loopback only: not announced by DNS-SD");
        return nullptr;
    }
    std::unique_ptr<DnsSdAnnouncer> announcer(new DnsSdAnnouncer(std::move(announcement), log));
    announcer->m_poll = avahi_threaded_poll_new();
    if (announcer->m_poll == nullptr) return nullptr;
    int error = 0;
    announcer->m_client = avahi_client_new(
        avahi_threaded_poll_get(announcer->m_poll), AVAHI_CLIENT_NO_FAIL,
        [](AvahiClient* client, AvahiClientState state, void* self) {
            ClientChanged(client, state, self);
        },
        announcer.get(), &error);
    if (announcer->m_client == nullptr) {
        LogServe(log, fmt::format("{} ({})", kNoDaemon, avahi_strerror(error)));
        return nullptr;
    }
    avahi_threaded_poll_start(announcer->m_poll);
    return announcer;
}

DnsSdAnnouncer::DnsSdAnnouncer(Announcement announcement, std::ostream& log)
    : m_announcement(std::move(announcement)), m_log(log) {
    const std::vector<std::string> fields = Fields(m_announcement.identity);
    m_name = fmt::format("Valdrix generator {} on {}", fields[2],
                         QHostInfo::localHostName().toStdString());
}

DnsSdAnnouncer::~DnsSdAnnouncer() {
    if (m_poll != nullptr) avahi_threaded_poll_stop(m_poll);
    if (m_client != nullptr) avahi_client_free(m_client);  // withdraws the services
    if (m_poll != nullptr) avahi_threaded_poll_free(m_poll);
}

// On Avahi's thread.
void DnsSdAnnouncer::ClientChanged(AvahiClient* client, int state, void* self) {
    auto& announcer = *static_cast<DnsSdAnnouncer*>(self);
    if (state == AVAHI_CLIENT_S_RUNNING) return announcer.Publish(client);
    if (state == AVAHI_CLIENT_S_COLLISION || state == AVAHI_CLIENT_S_REGISTERING) {
        if (announcer.m_group != nullptr) avahi_entry_group_reset(announcer.m_group);
    } else if (state == AVAHI_CLIENT_CONNECTING) {
        LogServe(announcer.m_log, fmt::format("{} (waiting for one)", kNoDaemon));
    } else if (state == AVAHI_CLIENT_FAILURE) {
        LogServe(announcer.m_log, fmt::format("DNS-SD announcement failed: {}",
                                              avahi_strerror(avahi_client_errno(client))));
    }
}

void DnsSdAnnouncer::GroupChanged(AvahiEntryGroup*, int state, void* self) {
    auto& announcer = *static_cast<DnsSdAnnouncer*>(self);
    if (state == AVAHI_ENTRY_GROUP_ESTABLISHED) {
        LogServe(announcer.m_log, fmt::format("announced by DNS-SD as \"{}\"", announcer.m_name));
    } else if (state == AVAHI_ENTRY_GROUP_COLLISION) {
        announcer.Rename();
    }
}

void DnsSdAnnouncer::Publish(AvahiClient* client) {
    if (m_group == nullptr) {
        m_group = avahi_entry_group_new(
            client,
            [](AvahiEntryGroup* group, AvahiEntryGroupState state, void* self) {
                GroupChanged(group, state, self);
            },
            this);
    }
    if (m_group == nullptr || !avahi_entry_group_is_empty(m_group)) return;
    if (!AddServices() || avahi_entry_group_commit(m_group) < 0) {
        LogServe(m_log, fmt::format("DNS-SD announcement failed: {}",
                                    avahi_strerror(avahi_client_errno(client))));
    }
}

// Another service on the network has the name: the next free one, "... #2".
void DnsSdAnnouncer::Rename() {
    char* next = avahi_alternative_service_name(m_name.c_str());
    LogServe(m_log, fmt::format("the DNS-SD name \"{}\" is taken; trying \"{}\"", m_name, next));
    m_name = next;
    avahi_free(next);
    avahi_entry_group_reset(m_group);
    Publish(m_client);
}

bool DnsSdAnnouncer::AddServices() {
    const std::vector<std::string> fields = Fields(m_announcement.identity);
    const std::string kind = fields[2].substr(0, fields[2].find(':'));
    const std::string txt[] = {"txtvers=1", "Manufacturer=" + fields[0],
                               fmt::format("Model={} {}", fields[1], kind),
                               "SerialNumber=" + fields[2], "FirmwareVersion=" + fields[3]};
    AvahiStringList* records = nullptr;
    for (const std::string& record : txt) records = avahi_string_list_add(records, record.c_str());
    const auto& [address, rawPort] = m_announcement.raw.front();
    std::vector<Service> services = {{"_scpi-raw._tcp", rawPort}};
    if (m_announcement.vxi11Port != 0) {
        services.push_back({"_vxi-11._tcp", m_announcement.vxi11Port});
    }
    bool added = true;
    for (const Service& service : services) {
        added = added &&
                avahi_entry_group_add_service_strlst(
                    m_group, InterfaceOf(address), ProtocolOf(address), AvahiPublishFlags(0),
                    m_name.c_str(), service.type, nullptr, nullptr, service.port, records) == 0;
    }
    avahi_string_list_free(records);
    return added;
}

}  // namespace valdrix::cli
