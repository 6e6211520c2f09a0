#pragma once

#include <QHostAddress>
#include <iosfwd>
#include <memory>
#include <vector>

namespace valdrix::cli {

class ScpiBridge;
class PortmapperEntry;
class Vxi11Server;

// The bridge's instruments as VXI-11 devices (inst0, inst1, ...), registered with the machine's
// portmapper, for as long as this lives.
class Vxi11Service {
public:
    // Nothing, with the reason logged, when it cannot be served: the raw socket goes on alone.
    // One bridge per instrument, in the instruments' order.
    static std::unique_ptr<Vxi11Service> Start(std::vector<ScpiBridge*> bridges,
                                               const std::vector<QHostAddress>& addresses,
                                               std::ostream& log);
    ~Vxi11Service();
    quint16 CorePort() const;
    Vxi11Service(const Vxi11Service&) = delete;
    Vxi11Service& operator=(const Vxi11Service&) = delete;

private:
    Vxi11Service() = default;

    std::unique_ptr<Vxi11Server> m_server;
    std::unique_ptr<PortmapperEntry> m_entry;
};

}  // namespace valdrix::cli
