#include "pages/model/command_sender.h"

#include <fmt/format.h>

#include <utility>

#include "link/command_line.h"
#include "link/send_line.h"
#include "pages/model/pause.h"

using namespace valdrix::link;

namespace valdrix::model {

namespace {

constexpr char kLineSeparator[] = "\r\n";

void PauseFor(const std::vector<unsigned>& pauses) {
    for (unsigned milliseconds : pauses) Pause(milliseconds);
}

// What reached the instrument before the failed line, and of it.
std::string WhatWasSent(std::size_t linesBefore, ULONG bytesOfLine) {
    if (linesBefore == 0 && bytesOfLine == 0) return "Nothing was sent.";
    const std::string lines = linesBefore == 0
                                  ? std::string("No line before it was sent")
                                  : fmt::format("The {} line(s) before it were sent", linesBefore);
    return bytesOfLine == 0 ? lines + "; nothing after it."
                            : fmt::format("{}, and {} byte(s) of this one; nothing after it.",
                                          lines, bytesOfLine);
}

SendReport Failure(const Instrument& instrument, SendReport report, const std::string& line,
                   const std::string& reason, ULONG bytesOfLine = 0) {
    report.outcome = SendOutcome::Failed;
    report.failedLine = line;
    report.reason = reason;
    const std::string before = WhatWasSent(report.sentLines.size(), bytesOfLine);
    // Most reasons say what to do themselves; the link's advice is for those that do not.
    const std::string advice = instrument.Advice();
    report.message = fmt::format("The command \"{}\" did not reach the instrument: {}.\n\n{}{}",
                                 line, reason, before, advice.empty() ? "" : "\n" + advice);
    return report;
}

SendReport Refused(std::string message) {
    SendReport report;
    report.message = std::move(message);
    return report;
}

}  // namespace

std::optional<SendReport> RefusalOfSend(const CommandSequence& sequence) {
    if (sequence.empty()) return SendReport{};
    for (const CommandStep& step : sequence) {
        if (const auto refusal = RefusalOf(step.line)) {
            return Refused(*refusal + "\n\nNothing was sent.");
        }
    }
    return std::nullopt;
}

SendReport SendSequence(Instrument& instrument, const CommandSequence& sequence,
                        const SendListener& listener) {
    if (auto refused = RefusalOfSend(sequence)) return *refused;
    SendReport report;
    LineBuffer buffer = LineBuffer::Obtain();
    if (!buffer.IsValid()) {
        return Refused("There is not enough memory to send the commands. Nothing was sent.");
    }
    if (!instrument.EnsureOpen()) {
        return Failure(instrument, report, sequence.front().line, instrument.LastError());
    }
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        const CommandStep& step = sequence[i];
        if (listener.starting) listener.starting(i + 1, sequence.size(), step.line);
        PauseFor(step.pausesBefore);
        const WriteResult result = SendLine(instrument, buffer, step.line);
        if (!result.written) {
            return Failure(instrument, report, step.line, result.reason, result.bytesWritten);
        }
        report.sentLines.push_back(step.line);
        if (listener.written) listener.written(step.line);
        PauseFor(step.pausesAfter);
    }
    report.outcome = SendOutcome::Sent;
    return report;
}

CommandSequence SingleCommand(const std::string& line) {
    return {{line, {}, {}}};
}

std::vector<std::string> LinesOf(const CommandSequence& sequence) {
    std::vector<std::string> lines;
    for (const CommandStep& step : sequence) lines.push_back(step.line);
    return lines;
}

std::string CommandText(const SendReport& report, LineEnds ends) {
    std::vector<std::string> lines = report.sentLines;
    if (report.outcome == SendOutcome::Failed) {
        lines.push_back(fmt::format("{}    <-- NOT SENT: {}", report.failedLine, report.reason));
    }
    return JoinLines(lines, ends);
}

std::string JoinLines(const std::vector<std::string>& lines, LineEnds ends) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (ends == LineEnds::AfterEachLine || i + 1 < lines.size()) text += kLineSeparator;
    }
    return text;
}

}  // namespace valdrix::model
