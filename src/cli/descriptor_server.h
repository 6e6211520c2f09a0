#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <functional>
#include <string>

namespace valdrix::cli {

// An IPv4 peer of a socket that listens on IPv6 too shows as ::ffff:a.b.c.d; this gives it as
// a.b.c.d.
QHostAddress Unmapped(const QHostAddress& address);
// 127.0.0.1:5025, [::1]:5025.
std::string AddressText(const QHostAddress& address, quint16 port);
// The peer of a connected socket; a null address when it has none.
QHostAddress PeerOf(int descriptor, quint16& port);
// "[::]" listens for IPv4 clients too, as servers on Linux do; "[::1]" stays IPv6 only.
QHostAddress ListeningAddress(const QHostAddress& address);

// Hands each accepted connection over as its non-blocking descriptor rather than as a
// QTcpSocket.
class DescriptorServer : public QTcpServer {
public:
    explicit DescriptorServer(std::function<void(int)> accept) : m_accept(std::move(accept)) {}

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    std::function<void(int)> m_accept;
};

}  // namespace valdrix::cli
