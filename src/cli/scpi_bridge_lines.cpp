// How the bridge reads a client's lines: each line cut into what goes to the instrument, what is
// carried out here and what is refused, in the order the client wrote it.
#include <fmt/format.h>

#include "cli/bridge_client.h"
#include "cli/scpi_bridge.h"
#include "link/command_line.h"

namespace valdrix::cli {

using namespace valdrix::link;
using namespace valdrix::model;

namespace {

// A client's input waits while this many of its lines wait for the instrument, or while it
// leaves this many bytes of replies unread, so that a fast writer or a client that never reads
// holds up no one but itself.
constexpr std::size_t kMaxLinesInFlight = 64;
constexpr std::size_t kMaxUnreadReplies = 64 * 1024;
// A command line and its end, 0x0D 0x0A at most.
constexpr std::size_t kLongestLineOnWire = kMaxCommandLine + 2;

std::string RefusalEntry(const std::string& line, bool cut) {
    if (cut) {
        return ErrorEntry(-223, "Too much data",
                          fmt::format("the command \"{}\" is longer than {} characters",
                                      PrintableText(line), kMaxCommandLine));
    }
    const std::string why = RefusalOf(line).value_or("");
    return line.size() > kMaxCommandLine ? ErrorEntry(-223, "Too much data", why)
                                         : ErrorEntry(-101, "Invalid character", why);
}

}  // namespace

bool ScpiBridge::TakeLine(Client& client) {
    ClientChannel& socket = *client.socket;
    if (client.closing || client.linesInFlight >= kMaxLinesInFlight ||
        socket.Unsent() >= kMaxUnreadReplies) {
        return false;
    }
    for (;;) {
        const std::string& received = socket.Received();
        const std::size_t end = received.find('\n');
        if (end == std::string::npos) {
            if (received.size() <= kLongestLineOnWire) return false;
            if (!client.cutLine) client.cutLine = received.substr(0, kMaxCommandLine + 1);
            socket.Take(received.size());
            continue;
        }
        std::string line = received.substr(0, end);
        socket.Take(end + 1);
        if (client.cutLine) {
            Take(client, *std::exchange(client.cutLine, std::nullopt), true);
        } else {
            if (line.ends_with('\r')) line.pop_back();
            Take(client, line, false);
        }
        return true;
    }
}

void ScpiBridge::Take(Client& client, std::string_view line, bool cut) {
    ++client.linesInFlight;
    if (cut || RefusalOf(line)) {
        client.steps.push_back({Step::Kind::Refuse, RefusalEntry(std::string(line), cut)});
    } else {
        AddUnits(client, line);
    }
    client.steps.push_back({Step::Kind::LineEnd, {}});
}

// The commands for the instrument between two units carried out here go as one line, as the
// client wrote them, paced by the sum of their pauses.
void ScpiBridge::AddUnits(Client& client, std::string_view line) {
    bool groupOpen = false;
    for (const MessageUnit& unit : MessageUnits(line)) {
        if (ClientStatus::CarriedOutHere(unit)) {
            client.steps.push_back({Step::Kind::CarryOut, {}, 0, unit});
            groupOpen = false;
        }
        if (!ClientStatus::GoesToInstrument(unit)) continue;
        if (groupOpen) {
            Step& group = client.steps.back();
            group.text += ";" + unit.text;
            group.pauseMs += PauseAfter(unit);
        } else {
            client.steps.push_back({Step::Kind::Write, unit.text, PauseAfter(unit)});
            groupOpen = true;
        }
    }
}

// Carries out the client's units that need no instrument, in order, up to its next command
// for the instrument or while one of its commands is being written or paced.
void ScpiBridge::CarryOut(Client& client) {
    while (!client.writing && !client.steps.empty() &&
           client.steps.front().kind != Step::Kind::Write) {
        const Step step = std::move(client.steps.front());
        client.steps.pop_front();
        if (step.kind == Step::Kind::Refuse) {
            client.status.Record(step.text);
        } else if (step.kind == Step::Kind::CarryOut) {
            if (auto answer = client.status.CarryOut(step.unit, m_options.identity)) {
                client.answers.push_back(std::move(*answer));
            }
        } else {
            EndLine(client);
        }
    }
}

// The answers to one line's queries go out as one line, joined by ";".
void ScpiBridge::EndLine(Client& client) {
    --client.linesInFlight;
    if (client.answers.empty()) return;
    std::string reply;
    for (const std::string& answer : client.answers) reply += (reply.empty() ? "" : ";") + answer;
    client.answers.clear();
    client.socket->Send(reply + '\n');
}

unsigned ScpiBridge::PauseAfter(const MessageUnit& unit) const {
    // Reset sends *RST on its own with no pause; the instrument is given none here either.
    if (HeaderMatches("*RST", unit.fullHeader)) return 0;
    // The header read with the path the units before it left, and as written: an instrument
    // that reads each unit from the root is not outrun either.
    const auto withPath = PanelPauseAfter(unit.fullHeader);
    const auto asWritten = PanelPauseAfter(unit.header);
    if (!withPath && !asWritten) return m_options.gapMs;
    return std::max(withPath.value_or(0), asWritten.value_or(0));
}

}  // namespace valdrix::cli
