// The serve bridge in this process, driven over the loopback by several clients at once that
// connect, send random bytes, lines and partial lines, half-close, and disconnect or reset at
// any moment, against an instrument that fails some writes. Whatever they do, the bridge never
// crashes nor touches freed memory, and stops cleanly. Each input is a bounded number of
// actions, and nothing waits for the pacing.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <cerrno>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "cli/scpi_bridge.h"
#include "link/instrument.h"

using namespace valdrix::cli;
using namespace valdrix::link;

namespace {

constexpr std::size_t kClients = 4;
constexpr std::size_t kMostActions = 96;

// Takes every frame, and fails every fifth write as a stalled instrument would.
class FlakyInstrument : public DeviceBackend {
public:
    bool Open(ULONG) override { return true; }
    bool SetTimeout(ULONG, ULONG, ULONG) override { return true; }
    bool WriteData(ULONG, const void*, ULONG*) override { return ++m_writes % 5 != 0; }
    void Close(ULONG) override {}
    std::string LastError() const override { return "the write timed out"; }

private:
    unsigned m_writes = 0;
};

constexpr std::array<std::string_view, 8> kLines = {
    "*IDN?;*OPC?\n",
    "FREQ 1000;AM:STAT ON;*OPC?\n",
    "*ESR?;*STB?;SYST:ERR?\n",
    "*CLS\n",
    "FREQ?;*ESE 300;*SRE 32\n",
    "*OPC;*WAI;*OPT?;*TST?\n",
    "DISP:TEXT \"a;b\";*RST\n",
    "X:Y 1\n",
};

void Setup() {
    static int argc = 1;
    static char name[] = "fuzz_serve_bridge";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// Without waiting: the bridge runs on this thread, so while an input connects many times without
// letting it accept, its backlog fills and a blocking connect would wait for the kernel's
// retries, seconds at a time.
int Connect(quint16 port) {
    const int descriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
        errno != EINPROGRESS) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

// Closes a client, with a reset instead of an orderly end when asked.
void Disconnect(int& descriptor, bool reset) {
    if (descriptor < 0) return;
    if (reset) {
        const linger abort{1, 0};
        setsockopt(descriptor, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    close(std::exchange(descriptor, -1));
}

void Send(int descriptor, std::string_view bytes) {
    if (descriptor >= 0) send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

void ReadAvailable(int descriptor) {
    std::array<char, 4096> discarded;
    if (descriptor >= 0) recv(descriptor, discarded.data(), discarded.size(), MSG_DONTWAIT);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (Setup(), true);
    (void)ready;
    std::ostream discardedLog(nullptr);
    // One instrument for every run, as one serve process keeps its link.
    static Instrument instrument(std::make_unique<FlakyInstrument>());
    ScpiBridge bridge(
        instrument, BridgeOptions{{{QHostAddress(QHostAddress::LocalHost), 0}}, {}, 0, {}, "fuzz"},
        discardedLog);
    if (!bridge.Listen()) return 0;
    const quint16 port = bridge.Ports().front();
    std::array<int, kClients> clients;
    clients.fill(-1);
    std::size_t at = 0;
    for (std::size_t action = 0; action < kMostActions && at < size; ++action) {
        const std::uint8_t code = data[at++];
        int& client = clients[(code >> 3) % kClients];
        switch (code & 7) {
            case 0:
                Disconnect(client, false);
                client = Connect(port);
                break;
            case 1: {
                const std::size_t wanted = at < size ? data[at++] % 64 : 0;
                const std::size_t length = std::min(wanted, size - at);
                Send(client, std::string_view(reinterpret_cast<const char*>(data + at), length));
                at += length;
                break;
            }
            case 2: Send(client, kLines[(code >> 5) % kLines.size()]); break;
            case 3:
                if (client >= 0) shutdown(client, SHUT_WR);
                break;
            case 4: Disconnect(client, (code & 0x80) != 0); break;
            case 5: ReadAvailable(client); break;
            default: QCoreApplication::processEvents(); break;
        }
    }
    for (int& client : clients) Disconnect(client, false);
    for (int turn = 0; turn < 4; ++turn) QCoreApplication::processEvents();
    bridge.Stop();
    return 0;
}
