#pragma once

#include <QTimer>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/client_channel.h"
#include "cli/client_status.h"
#include "cli/scpi_bridge.h"

namespace valdrix::cli {

// A client of the bridge: its connection, its status registers and error queue, and what its
// lines ask for that is not done yet.
struct ScpiBridge::Client {
    Client(quint64 number, std::string address) : id(number), peer(std::move(address)) {}
    quint64 id;
    std::string peer;
    std::shared_ptr<ClientChannel> socket;
    ClientStatus status;
    std::deque<Step> steps;
    std::size_t linesInFlight = 0;
    std::vector<std::string> answers;    // of the line being carried out
    bool writing = false;                // one of its commands is being written or paced
    bool closing = false;                // idle for too long: closed once its lines are done
    std::optional<std::string> cutLine;  // the start of a line too long, until its end comes
    QTimer idle;
};

}  // namespace valdrix::cli
