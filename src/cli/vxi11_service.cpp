#include "cli/vxi11_service.h"

#include <fmt/format.h>

#include "cli/portmapper_entry.h"
#include "cli/scpi_bridge.h"
#include "cli/vxi11_messages.h"
#include "cli/vxi11_server.h"

namespace valdrix::cli {

std::unique_ptr<Vxi11Service> Vxi11Service::Start(std::vector<ScpiBridge*> bridges,
                                                  const std::vector<QHostAddress>& addresses,
                                                  std::ostream& log) {
    // One VXI-11 device list per machine: the portmapper holds one port for the program.
    if (const std::string why =
            PortmapperEntry::WhyNotAvailable(vxi11::kCoreProgram, vxi11::kVersion);
        !why.empty()) {
        LogServe(log, why);
        return nullptr;
    }
    std::unique_ptr<Vxi11Service> service(new Vxi11Service);
    const std::size_t instruments = bridges.size();
    service->m_server = std::make_unique<Vxi11Server>(std::move(bridges), log);
    if (!service->m_server->Listen(addresses)) return nullptr;
    auto registration = PortmapperEntry::Register(vxi11::kCoreProgram, vxi11::kVersion,
                                                  service->m_server->CorePort());
    if (!registration.entry) {
        LogServe(log, registration.why + ": serving the raw socket only");
        return nullptr;
    }
    service->m_entry = std::move(registration.entry);
    for (std::size_t k = 0; k < instruments; ++k) {
        LogServe(log, fmt::format("VXI-11 device inst{0} registered with the portmapper "
                                  "(TCPIP::HOST::inst{0}::INSTR)",
                                  k));
    }
    return service;
}

Vxi11Service::~Vxi11Service() = default;

quint16 Vxi11Service::CorePort() const {
    return m_server->CorePort();
}

}  // namespace valdrix::cli
