#include "cli/serve_command.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstring>
#include <optional>
#include <ostream>

#include "cli/cli_run.h"
#include "cli/cli_usage.h"
#include "cli/dns_sd_announcer.h"
#include "cli/option_scan.h"
#include "cli/scpi_bridge.h"
#include "cli/vxi11_service.h"
#include "link/command_line.h"
#include "link/instrument.h"
#include "res/names_valdrix.h"

namespace valdrix::cli {

using namespace valdrix::link;
using namespace valdrix::model;

namespace {

constexpr quint16 kScpiSocketPort = 5025;
constexpr unsigned kLongestGapMs = 60000;
constexpr unsigned kLongestIdleSeconds = 7 * 24 * 3600;
constexpr char kNoVxi11[] = "--no-vxi11";
constexpr char kNoAnnounce[] = "--no-announce";

struct ServeArguments {
    BridgeOptions options;
    bool vxi11 = true;
    bool announce = true;
    bool helpAsked = false;
    std::string error;
};

template <typename Number>
std::optional<Number> WholeNumber(std::string_view text, Number largest) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > largest) return {};
    return value;
}

// ADDRESS[:PORT], the address in numbers: 127.0.0.1:5025, [::1]:5025, 0.0.0.0, [::].
std::optional<std::pair<QHostAddress, quint16>> ListenAddress(const std::string& text) {
    std::string host = text;
    std::string port = std::to_string(kScpiSocketPort);
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string::npos) return {};
        host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':')) return {};
        if (!rest.empty()) port = rest.substr(1);
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        host = text.substr(0, text.find(':'));
        port = text.substr(text.find(':') + 1);
    }
    QHostAddress address;
    const auto number = WholeNumber<quint16>(port, 65535);
    if (!address.setAddress(QString::fromStdString(host)) || !number) return {};
    return std::make_pair(address, *number);
}

// An IPv4 address in its plain dotted form: four numbers from 0 to 255, no leading zeros
// (0177.0.0.1 would be read as octal by some tools and as decimal by others).
bool PlainIpv4(std::string_view text) {
    int parts = 0;
    for (std::string_view rest = text;; ++parts) {
        const std::string_view part = rest.substr(0, rest.find('.'));
        if (part.empty() || (part.size() > 1 && part.starts_with('0')) ||
            !WholeNumber<unsigned>(part, 255)) {
            return false;
        }
        if (part.size() == rest.size()) return parts == 3;
        rest.remove_prefix(part.size() + 1);
    }
}

// A subnet as ADDRESS/BITS, or one address (/32, /128), in the plain forms only.
std::optional<Subnet> AllowedSubnet(const std::string& text) {
    const std::size_t slash = text.find('/');
    const std::string host = text.substr(0, slash);
    const bool ipv6 = host.find(':') != std::string::npos;
    QHostAddress address;
    if (!(ipv6 || PlainIpv4(host)) || !address.setAddress(QString::fromStdString(host))) return {};
    const int widest = ipv6 ? 128 : 32;
    if (slash == std::string::npos) return Subnet{address, widest};
    const auto bits = WholeNumber<int>(std::string_view(text).substr(slash + 1), widest);
    if (!bits || *bits < 0) return {};
    return Subnet{address, *bits};
}

std::string AddOption(ServeArguments& parsed, const std::string& name, const std::string& value) {
    const std::string shown = PrintableText(value);
    if (name == "--listen") {
        const auto address = ListenAddress(value);
        if (!address) {
            return fmt::format(
                "--listen takes ADDRESS[:PORT] with the address in numbers "
                "(127.0.0.1:5025, [::1]:5025, 0.0.0.0:5025), not \"{}\"",
                shown);
        }
        parsed.options.listen.push_back(*address);
    } else if (name == "--allow") {
        const auto subnet = AllowedSubnet(value);
        if (!subnet) {
            return fmt::format(
                "--allow takes ADDRESS/BITS (192.168.1.0/24, fd00::/8) or one "
                "address, in the plain forms, not \"{}\"",
                shown);
        }
        parsed.options.allow.push_back(*subnet);
    } else if (name == "--idle-timeout") {
        const auto seconds = WholeNumber<unsigned>(value, kLongestIdleSeconds);
        if (!seconds || *seconds == 0) {
            return fmt::format("--idle-timeout takes whole seconds from 1 to {}, not \"{}\"",
                               kLongestIdleSeconds, shown);
        }
        parsed.options.idleTimeoutSeconds = *seconds;
    } else {
        const auto gap = WholeNumber<unsigned>(value, kLongestGapMs);
        if (!gap) {
            return fmt::format("--gap takes whole milliseconds from 0 to {}, not \"{}\"",
                               kLongestGapMs, shown);
        }
        parsed.options.gapMs = *gap;
    }
    return {};
}

ServeArguments ParseServeArguments(CommandArguments arguments) {
    std::vector<std::string> valued(arguments.begin(), arguments.end());
    const bool vxi11 = std::erase(valued, kNoVxi11) == 0;
    const bool announce = std::erase(valued, kNoAnnounce) == 0;
    const OptionScan scan = ScanOptions(valued, {"--listen", "--allow", "--gap", "--idle-timeout"});
    ServeArguments parsed{{}, vxi11, announce, scan.helpAsked, scan.error};
    for (const auto& [name, value] : scan.values) {
        if (!parsed.error.empty()) break;
        parsed.error = AddOption(parsed, name, value);
    }
    if (parsed.options.listen.empty()) {
        parsed.options.listen.emplace_back(QHostAddress(QHostAddress::LocalHost), kScpiSocketPort);
    }
    return parsed;
}

// SIGINT and SIGTERM end the event loop through a pipe: writing to it is all that a signal
// handler may safely do.
class QuitOnSignals {
public:
    QuitOnSignals() {
        if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        m_notifier = std::make_unique<QSocketNotifier>(s_pipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated,
                         [] { QCoreApplication::quit(); });
        struct sigaction action {};
        action.sa_handler = &QuitOnSignals::OnSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previousInt);
        sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~QuitOnSignals() {
        if (!Ready()) return;
        sigaction(SIGINT, &m_previousInt, nullptr);
        sigaction(SIGTERM, &m_previousTerm, nullptr);
        m_notifier.reset();
        ::close(s_pipe[0]);
        ::close(s_pipe[1]);
    }
    bool Ready() const { return m_notifier != nullptr; }
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    static void OnSignal(int) {
        const char byte = 1;
        if (::write(s_pipe[1], &byte, 1) < 0) return;  // the pipe is full: a quit is on its way
    }

    static inline int s_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
};

// The link is opened once at the start; when it cannot be, the bridge serves all the same and
// each line tries again, as the panel's next press does.
void OpenLink(Instrument& instrument, std::ostream& err) {
    if (instrument.Open(false) == OpenResult::Opened) return;
    LogServe(err, fmt::format("the instrument is not open ({}); each line tries to open it again",
                              instrument.LastError()));
}

// One instrument of the bridge with its own writer, queue and pacing: a stalled instrument
// holds up only its own clients.
struct ServedInstrument {
    std::unique_ptr<Instrument> instrument;
    std::unique_ptr<ScpiBridge> bridge;
    std::string identity;
};

// The link's field of *IDN?: its kind and number, never a file's path (a path may hold commas,
// and it would tell every client about the server's files). Files are told apart by their
// place when there are several.
std::string LinkField(const LinkChoice& link, std::size_t index, std::size_t links) {
    if (link.kind != LinkChoice::Kind::File) return LinkSpelling(link);
    return links == 1 ? std::string("file") : fmt::format("file{}", index);
}

// Instrument k listens on each listen port + k; a port of the system's choosing stays so.
std::optional<std::string> ShiftPorts(BridgeOptions& options, std::size_t index) {
    for (auto& [address, port] : options.listen) {
        if (port == 0) continue;
        if (port + index > 65535) {
            return fmt::format(
                "instrument {} would listen on port {} + {}, past 65535: give "
                "--listen a lower port",
                index, port, index);
        }
        port = static_cast<quint16>(port + index);
    }
    return std::nullopt;
}

std::optional<std::string> WhyNotServed(const std::vector<LinkChoice>& links,
                                        const BridgeOptions& options) {
    for (std::size_t k = 0; k < links.size(); ++k) {
        for (std::size_t j = 0; j < k; ++j) {
            if (LinkSpelling(links[j]) == LinkSpelling(links[k])) {
                return fmt::format("--link {} is given twice: one instrument takes one writer",
                                   PrintableText(LinkSpelling(links[k])));
            }
        }
        BridgeOptions shifted = options;
        if (auto why = ShiftPorts(shifted, k)) return why;
    }
    return std::nullopt;
}

std::vector<ServedInstrument> MakeInstruments(const std::vector<LinkChoice>& links,
                                              const BridgeOptions& options,
                                              const BackendMaker& makeBackend, std::ostream& err) {
    std::vector<ServedInstrument> served;
    for (std::size_t k = 0; k < links.size(); ++k) {
        BridgeOptions own = options;
        ShiftPorts(own, k);  // a port past 65535 was refused before
        own.identity = fmt::format("Valdrix,{} serve,{},{}", kCliProgram,
                                   LinkField(links[k], k, links.size()), ValdrixNames().version);
        if (links.size() > 1) {
            LogServe(err, fmt::format("instrument {0} (inst{0}): {1}", k, LinkName(links[k])));
        }
        auto instrument = std::make_unique<Instrument>(makeBackend(links[k]), links[k]);
        OpenLink(*instrument, err);
        std::string identity = own.identity;
        auto bridge = std::make_unique<ScpiBridge>(*instrument, std::move(own), err);
        served.push_back({std::move(instrument), std::move(bridge), std::move(identity)});
    }
    return served;
}

// Each instrument is announced on its own: its raw ports, the one VXI-11 port, its identity.
std::vector<std::unique_ptr<DnsSdAnnouncer>> Announce(const std::vector<ServedInstrument>& served,
                                                      const std::vector<QHostAddress>& addresses,
                                                      quint16 vxi11Port, std::ostream& err) {
    std::vector<std::unique_ptr<DnsSdAnnouncer>> announcers;
    for (const ServedInstrument& one : served) {
        Announcement announcement{{}, vxi11Port, one.identity};
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            announcement.raw.emplace_back(addresses[i], one.bridge->Ports()[i]);
        }
        auto announcer = DnsSdAnnouncer::Start(std::move(announcement), err);
        // What keeps one from being announced (no Avahi, the loopback only) keeps them all.
        if (!announcer) break;
        announcers.push_back(std::move(announcer));
    }
    return announcers;
}

int RunUntilSignalled(std::ostream& err) {
    QuitOnSignals quitOnSignals;
    if (!quitOnSignals.Ready()) {
        LogServe(err, fmt::format("cannot follow SIGINT and SIGTERM: {}", std::strerror(errno)));
        return kCliLinkFailed;
    }
    QCoreApplication::exec();
    return kCliSent;
}

int Serve(std::vector<ServedInstrument>& served, const ServeArguments& arguments,
          std::ostream& err) {
    std::vector<QHostAddress> addresses;
    for (const auto& listen : arguments.options.listen) addresses.push_back(listen.first);
    std::vector<ScpiBridge*> bridges;
    for (ServedInstrument& one : served) {
        if (!one.bridge->Listen()) return kCliLinkFailed;
        bridges.push_back(one.bridge.get());
    }
    const auto vxi11 = arguments.vxi11 ? Vxi11Service::Start(bridges, addresses, err) : nullptr;
    const auto announcers = arguments.announce
                                ? Announce(served, addresses, vxi11 ? vxi11->CorePort() : 0, err)
                                : std::vector<std::unique_ptr<DnsSdAnnouncer>>();
    if (const int status = RunUntilSignalled(err); status != kCliSent) return status;
    std::size_t unwritten = 0;
    for (ServedInstrument& one : served) unwritten += one.bridge->Stop();
    if (unwritten > 0) {
        LogServe(err, fmt::format("stopped with {} line(s) received but not written", unwritten));
    } else {
        LogServe(err, "stopped");
    }
    return kCliSent;
}

int RunServe(CommandArguments arguments, const std::vector<LinkChoice>& links, std::ostream&,
             std::ostream& err, const BackendMaker& makeBackend) {
    const ServeArguments parsed = ParseServeArguments(arguments);
    if (const auto why = WhyNotServed(links, parsed.options)) {
        err << kCliProgram << ": serve: " << *why << "\nTry '" << kCliProgram
            << " serve --help'.\n";
        return kCliUsageError;
    }
    static int argc = 1;
    static char name[] = "valdrix-cli";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    std::vector<ServedInstrument> served = MakeInstruments(links, parsed.options, makeBackend, err);
    const int status = Serve(served, parsed, err);
    for (ServedInstrument& one : served) {
        one.bridge.reset();
        one.instrument->Close();
    }
    return status;
}

}  // namespace

CliCommand ServeCommand() {
    auto compose = [](CommandArguments arguments, std::istream&) {
        const ServeArguments parsed = ParseServeArguments(arguments);
        return Composition{{}, parsed.helpAsked, parsed.error};
    };
    return {"serve",
            "the instrument as a raw SCPI socket (127.0.0.1:5025) and a VXI-11 device (inst0) "
            "for VISA and lxi tools, "
            "until SIGINT or SIGTERM; --link given several times serves instrument k on each "
            "port + k and as inst<k>",
            "[--listen ADDRESS[:PORT]]... [--allow ADDRESS/BITS]... [--gap MS] "
            "[--idle-timeout SECONDS] [--no-vxi11] [--no-announce]",
            "",
            compose,
            RunServe};
}

}  // namespace valdrix::cli
