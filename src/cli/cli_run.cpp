#include "cli/cli_run.h"

#include <fmt/format.h>

#include <optional>
#include <ostream>

#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "cli/cli_usage.h"
#include "link/command_line.h"
#include "link/instrument.h"
#include "pages/model/command_sender.h"
#include "pages/model/paced_sender.h"
#include "res/names_valdrix.h"

namespace valdrix::cli {

using namespace valdrix::link;

using namespace valdrix::model;

namespace {

int UsageError(std::ostream& err, const std::string& message, const std::string& helpCommand) {
    err << kCliProgram << ": " << message << "\nTry '" << helpCommand << " --help'.\n";
    return kCliUsageError;
}

void PrintLine(std::ostream& out, const std::string& line) {
    out << line << '\n' << std::flush;
}

// Where a line came from, for a message about it: its line number on standard input.
std::string Origin(const Composition& composition, std::size_t index) {
    return index < composition.inputLines.size()
               ? fmt::format("line {}: ", composition.inputLines[index])
               : std::string();
}

// The sender's own rule, applied before the link is opened, so that a line the instrument
// cannot take is bad usage whatever state the link is in, and a dry run refuses it too.
std::optional<std::string> FirstRefusal(const Composition& composition) {
    for (std::size_t i = 0; i < composition.sequence.size(); ++i) {
        if (auto refusal = RefusalOf(composition.sequence[i].line)) {
            return Origin(composition, i) + *refusal;
        }
    }
    return std::nullopt;
}

// The sequence through the one sender, each line listed as the instrument takes it; a program
// that does nothing else may well wait for the end.
SendReport SendAndWait(Instrument& instrument, const CommandSequence& sequence, std::ostream& out) {
    SendListener listener;
    listener.written = [&out](const std::string& line) { PrintLine(out, line); };
    PacedSender sender(instrument);
    SendReport report;
    if (auto refused = sender.Queue(sequence, listener,
                                    [&report](const SendReport& ended) { report = ended; })) {
        return *refused;
    }
    sender.WaitUntilIdle();
    return report;
}

int OpenAndSend(Instrument& instrument, const Composition& composition, std::ostream& out,
                std::ostream& err) {
    switch (instrument.Open(false)) {
        case OpenResult::NoDevice:
            err << kCliProgram << ": cannot open the instrument: " << instrument.LastError()
                << '\n';
            return kCliLinkFailed;
        case OpenResult::TimeoutFailed:
            err << kCliProgram
                << ": the instrument does not take its time-outs: " << instrument.LastError()
                << '\n';
            return kCliLinkFailed;
        case OpenResult::Opened: break;
    }
    const SendReport report = SendAndWait(instrument, composition.sequence, out);
    instrument.Close();
    if (!report.message.empty()) err << kCliProgram << ": " << report.message << '\n' << std::flush;
    if (report.outcome == SendOutcome::Failed && !composition.inputLines.empty()) {
        err << kCliProgram << ": stopped at " << Origin(composition, report.sentLines.size())
            << PrintableText(report.failedLine) << '\n';
    }
    // The lines passed their check, so a send that did not go through failed on the link's
    // side (a write, or the memory for the line buffer); its message has said why.
    return report.outcome == SendOutcome::Sent ? kCliSent : kCliLinkFailed;
}

int SendOverLink(const Composition& composition, const LinkChoice& link, std::ostream& out,
                 std::ostream& err, const BackendMaker& makeBackend) {
    Instrument instrument(makeBackend(link), link);
    return OpenAndSend(instrument, composition, out, err);
}

// What the program did, unless its own output could not be written: a caller reading it must
// not take a cut list of lines for the whole.
int CheckedOutput(int status, std::ostream& out, std::ostream& err) {
    if (out.flush()) return status;
    err << kCliProgram
        << ": cannot write to standard output; what was written to the "
           "instrument is not all listed\n";
    return kCliLinkFailed;
}

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
        std::ostream& err, const BackendMaker& makeBackend) {
    const CliArguments parsed = ParseCliArguments(arguments);
    if (!parsed.error.empty()) return UsageError(err, parsed.error, kCliProgram);
    switch (parsed.request) {
        case CliArguments::Request::ProgramHelp: out << CliHelp(); return kCliSent;
        case CliArguments::Request::Version:
            out << kCliProgram << ' ' << ValdrixNames().version << '\n';
            return kCliSent;
        case CliArguments::Request::Command: break;
    }
    const CliCommand* command = FindCliCommand(parsed.command);
    if (command == nullptr) {
        return UsageError(err, fmt::format("unknown COMMAND \"{}\"", PrintableText(parsed.command)),
                          kCliProgram);
    }
    const Composition composition = command->compose(parsed.commandArguments, in);
    if (composition.helpAsked) {
        out << CommandHelp(*command);
        return kCliSent;
    }
    if (!composition.error.empty()) {
        return UsageError(err, fmt::format("{}: {}", command->name, composition.error),
                          fmt::format("{} {}", kCliProgram, command->name));
    }
    if (!composition.printOut.empty()) {
        out << composition.printOut;
        return kCliSent;
    }
    if (command->run) {
        if (parsed.dryRun) {
            return UsageError(err,
                              fmt::format("--dry-run does not apply to {}: it sends no page's "
                                          "lines",
                                          command->name),
                              fmt::format("{} {}", kCliProgram, command->name));
        }
        const std::vector<LinkChoice> links =
            parsed.links.empty() ? std::vector<LinkChoice>{parsed.link} : parsed.links;
        return command->run(parsed.commandArguments, links, out, err, makeBackend);
    }
    if (const auto refusal = FirstRefusal(composition)) {
        err << kCliProgram << ": " << *refusal << " Nothing was written.\n";
        return kCliUsageError;
    }
    if (parsed.dryRun) {
        for (const CommandStep& step : composition.sequence) PrintLine(out, step.line);
        return kCliSent;
    }
    return SendOverLink(composition, parsed.link, out, err, makeBackend);
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
           std::ostream& err, const BackendMaker& makeBackend) {
    return CheckedOutput(Run(arguments, in, out, err, makeBackend), out, err);
}

}  // namespace valdrix::cli
