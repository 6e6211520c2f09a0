#pragma once

#include <functional>
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

struct SendReport {
    SendOutcome outcome = SendOutcome::Refused;
    std::vector<std::string> sentLines;
    std::string failedLine;
    std::string reason;
};

// Writes a sequence to the instrument, opening it if it is closed, with its pauses. Every line is
// checked before the first one is written; a line that cannot be sent refuses the whole send. A
// failed write stops the send and is reported to the operator, naming the line and the reason.
// onWritten, when given, hears of each line as soon as the instrument has taken it.
using LineWritten = std::function<void(const std::string& line)>;
SendReport SendSequence(valdrix::link::Instrument& instrument, const CommandSequence& sequence,
                        const LineWritten& onWritten = {});

// Hears of each line of a send as it starts: its number from 1, the number of lines in the
// send, and the line; the front end shows it while the send's pauses run.
using SendProgress =
    std::function<void(std::size_t number, std::size_t count, const std::string& line)>;
// Returns the previous listener; an empty one hears nothing.
SendProgress InstallSendProgress(SendProgress progress);

// Sends one command on its own, with no pause: Reset, Local, a trigger.
SendReport SendSingleCommand(valdrix::link::Instrument& instrument, const std::string& line);

// The lines of a sequence, without their pauses.
std::vector<std::string> LinesOf(const CommandSequence& sequence);

// Lines joined into a command text by "\r\n".
std::string JoinLines(const std::vector<std::string>& lines, LineEnds ends);

// The command text of a send: the lines written, then a failed line marked as not sent.
std::string CommandText(const SendReport& report, LineEnds ends);

}  // namespace valdrix::model
