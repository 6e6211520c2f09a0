#pragma once

#include <QHostAddress>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

struct AvahiThreadedPoll;
struct AvahiClient;
struct AvahiEntryGroup;

namespace valdrix::cli {

// What the bridge announces by DNS-SD: its raw socket (_scpi-raw._tcp) and, when served, its
// VXI-11 device (_vxi-11._tcp), with the TXT records that LXI tools read.
struct Announcement {
    // The raw socket's addresses and ports; the loopback is never announced, the first other
    // address is.
    std::vector<std::pair<QHostAddress, quint16>> raw;
    quint16 vxi11Port = 0;  // 0: no VXI-11 device
    std::string identity;   // the answer to *IDN?: Valdrix,PROGRAM,LINK,VERSION
};

// The bridge's services published through the machine's Avahi daemon for as long as this
// lives. Avahi runs its own thread; its callbacks touch only this object and the log.
class DnsSdAnnouncer {
public:
    // Nothing, with the reason logged, when nothing is announced.
    static std::unique_ptr<DnsSdAnnouncer> Start(Announcement announcement, std::ostream& log);
    ~DnsSdAnnouncer();
    DnsSdAnnouncer(const DnsSdAnnouncer&) = delete;
    DnsSdAnnouncer& operator=(const DnsSdAnnouncer&) = delete;

private:
    DnsSdAnnouncer(Announcement announcement, std::ostream& log);
    static void ClientChanged(AvahiClient* client, int state, void* self);
    static void GroupChanged(AvahiEntryGroup* group, int state, void* self);
    void Publish(AvahiClient* client);
    bool AddServices();
    void Rename();

    Announcement m_announcement;
    std::ostream& m_log;
    std::string m_name;
    AvahiThreadedPoll* m_poll = nullptr;
    AvahiClient* m_client = nullptr;
    AvahiEntryGroup* m_group = nullptr;
};

}  // namespace valdrix::cli
