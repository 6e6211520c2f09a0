#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/instrument.h"
#include "pages/model/command_sequence.h"
#include "pages/model/page_model.h"

namespace valdrix::model {

enum class SendOutcome {
    Sent,     // every line reached the instrument
    Refused,  // nothing was written: a field or a line could not be sent
    Failed,   // a write failed; the lines before it were written, none after it
};

// The caption the panel gives a report's message.
inline constexpr char kSendErrorCaption[] = "ERROR";

struct SendReport {
    SendOutcome outcome = SendOutcome::Refused;
    std::vector<std::string> sentLines;
    std::string failedLine;
    std::string reason;
    // What the operator is to be told about a send that did not go through, naming the line and
    // the reason; empty when every line went, or when there was nothing to send. Each front end
    // shows it its own way.
    std::string message;
};

// What a send tells its front end while it runs, on the thread that runs it.
struct SendListener {
    // Each line as it starts: its number from 1, the number of lines in the send, and the line;
    // the panel shows it while the pauses before it run.
    std::function<void(std::size_t number, std::size_t count, const std::string& line)> starting;
    // Each line as soon as the instrument has taken it.
    std::function<void(const std::string& line)> written;
};

// The send refused whole when one of its lines cannot be sent, before anything is written;
// nothing when every line may go. An empty sequence is refused with no message.
std::optional<SendReport> RefusalOfSend(const CommandSequence& sequence);

// Writes a sequence to the instrument on the calling thread, opening it if it is closed, with its
// pauses. A refused sequence writes nothing. A failed write stops the send.
SendReport SendSequence(valdrix::link::Instrument& instrument, const CommandSequence& sequence,
                        const SendListener& listener = {});

// One command on its own, with no pause: Reset, Local, a trigger, a console line.
CommandSequence SingleCommand(const std::string& line);

// The lines of a sequence, without their pauses.
std::vector<std::string> LinesOf(const CommandSequence& sequence);

// Lines joined into a command text by "\r\n".
std::string JoinLines(const std::vector<std::string>& lines, LineEnds ends);

// The command text of a send: the lines written, then a failed line marked as not sent.
std::string CommandText(const SendReport& report, LineEnds ends);

}  // namespace valdrix::model
