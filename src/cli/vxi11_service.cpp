#include "cli/vxi11_service.h"

#include "cli/vxi11_server.h"

std::unique_ptr<Vxi11Service> Vxi11Service::Start(ScpiBridge& bridge,
                                                  const std::vector<QHostAddress>& addresses,
                                                  std::ostream& log) {
    std::unique_ptr<Vxi11Service> service(new Vxi11Service);
    service->m_server = std::make_unique<Vxi11Server>(bridge, log);
    if (!service->m_server->Listen(addresses)) return nullptr;
    return service;
}

Vxi11Service::~Vxi11Service() = default;
