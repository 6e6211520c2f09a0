#include "cli/descriptor_server.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace valdrix::cli {

QHostAddress Unmapped(const QHostAddress& address) {
    if (address == QHostAddress(QHostAddress::AnyIPv6)) return address;
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4) : address;
}

std::string AddressText(const QHostAddress& address, quint16 port) {
    const QHostAddress shown = Unmapped(address);
    const std::string host = shown.toString().toStdString();
    return shown.protocol() == QAbstractSocket::IPv4Protocol ? fmt::format("{}:{}", host, port)
                                                             : fmt::format("[{}]:{}", host, port);
}

QHostAddress PeerOf(int descriptor, quint16& port) {
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &size) != 0) return {};
    QHostAddress address(reinterpret_cast<const sockaddr*>(&peer));
    port = ntohs(peer.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&peer)->sin6_port
                                            : reinterpret_cast<sockaddr_in*>(&peer)->sin_port);
    return address;
}

QHostAddress ListeningAddress(const QHostAddress& address) {
    return address == QHostAddress(QHostAddress::AnyIPv6) ? QHostAddress(QHostAddress::Any)
                                                          : address;
}

void DescriptorServer::incomingConnection(qintptr descriptor) {
    const int flags = fcntl(static_cast<int>(descriptor), F_GETFL);
    fcntl(static_cast<int>(descriptor), F_SETFL, flags | O_NONBLOCK);
    m_accept(static_cast<int>(descriptor));
}

}  // namespace valdrix::cli
