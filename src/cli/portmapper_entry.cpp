#include "cli/portmapper_entry.h"

#include <arpa/inet.h>
#include <fmt/format.h>
#include <netinet/in.h>
#include <rpc/pmap_clnt.h>
#include <rpc/rpc.h>
#include <rpc/rpcb_clnt.h>
#include <rpc/rpcb_prot.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace valdrix::cli {

namespace {

constexpr std::uint16_t kPortmapperPort = 111;
constexpr timeval kProbeTimeout = {1, 0};

sockaddr_in Ipv4(in_addr_t host, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(host);
    address.sin_port = htons(port);
    return address;
}

sockaddr_in Loopback(std::uint16_t port) {
    return Ipv4(INADDR_LOOPBACK, port);
}

bool Connects(int family, const sockaddr* address, socklen_t size) {
    const int descriptor = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) return false;
    const bool connected = ::connect(descriptor, address, size) == 0;
    ::close(descriptor);
    return connected;
}

// The portmapper answers on its local socket, or on TCP port 111 when it has none. Asked
// first, so that the library's own calls never wait out their time-outs for nobody.
bool PortmapperRuns() {
    sockaddr_un local{};
    local.sun_family = AF_UNIX;
    std::strncpy(local.sun_path, _PATH_RPCBINDSOCK, sizeof local.sun_path - 1);
    const sockaddr_in tcp = Loopback(kPortmapperPort);
    return Connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&local), sizeof local) ||
           Connects(AF_INET, reinterpret_cast<const sockaddr*>(&tcp), sizeof tcp);
}

// The library's XDR procedures take different arguments each; it calls them as xdrproc_t.
xdrproc_t NoData() {
    return reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(&xdr_void));
}

// A server answers the null procedure on the port its entry names.
bool Answers(std::uint32_t program, std::uint32_t version, std::uint16_t port) {
    sockaddr_in address = Loopback(port);
    int descriptor = RPC_ANYSOCK;
    CLIENT* client = clnttcp_create(&address, program, version, &descriptor, 0, 0);
    if (client == nullptr) return false;
    const clnt_stat status =
        clnt_call(client, NULLPROC, NoData(), nullptr, NoData(), nullptr, kProbeTimeout);
    clnt_destroy(client);
    return status == RPC_SUCCESS;
}

// As pmap_set does for TCP, which loses the address it makes on each call.
bool RegisterTcp(std::uint32_t program, std::uint32_t version, std::uint16_t port) {
    netconfig* tcp = getnetconfigent("tcp");
    if (tcp == nullptr) return false;
    sockaddr_in address = Ipv4(INADDR_ANY, port);
    const netbuf where{sizeof address, sizeof address, &address};
    const bool registered = rpcb_set(program, version, tcp, &where);
    freenetconfigent(tcp);
    return registered;
}

}  // namespace

std::string PortmapperEntry::WhyNotAvailable(std::uint32_t program, std::uint32_t version) {
    if (!PortmapperRuns()) {
        return "no portmapper (rpcbind) runs on this machine, so VISA tools could not find the "
               "VXI-11 device: serving the raw socket only (apt install rpcbind provides it)";
    }
    sockaddr_in portmapper = Loopback(kPortmapperPort);
    const std::uint16_t port = pmap_getport(&portmapper, program, version, IPPROTO_TCP);
    if (port != 0 && Answers(program, version, port)) {
        return fmt::format(
            "another VXI-11 server on this machine (another serve?) holds the "
            "portmapper's VXI-11 entry, on port {}: serving the raw socket only",
            port);
    }
    return {};
}

PortmapperEntry::Registration PortmapperEntry::Register(std::uint32_t program,
                                                        std::uint32_t version, std::uint16_t port) {
    pmap_unset(program, version);  // left by a server that ended without removing it
    if (!RegisterTcp(program, version, port)) {
        return {nullptr,
                "the portmapper (rpcbind) refused the VXI-11 entry; is it run with "
                "its default options and may this user register programs?"};
    }
    return {std::unique_ptr<PortmapperEntry>(new PortmapperEntry(program, version)), {}};
}

PortmapperEntry::~PortmapperEntry() {
    pmap_unset(m_program, m_version);
}

}  // namespace valdrix::cli
