#include "cli/list_command.h"

#include <fmt/format.h>

#include <istream>
#include <ostream>

#include "cli/cli_run.h"
#include "link/command_line.h"
#include "link/usb_survey.h"

namespace valdrix::cli {

using namespace valdrix::link;

namespace {

Composition NoArguments(CommandArguments arguments, std::istream&) {
    if (arguments.empty()) return {};
    if (arguments.front() == "--help" || arguments.front() == "-h") return {{}, true, {}};
    return {
        {}, false, fmt::format("takes no argument, not \"{}\"", PrintableText(arguments.front()))};
}

int ListInstruments(CommandArguments, const std::vector<LinkChoice>&, std::ostream& out,
                    std::ostream& err, const BackendMaker&) {
    const UsbSurvey survey = SurveyUsbInstruments();
    if (!survey.error.empty()) {
        err << "valdrix-cli: cannot list the USB devices: " << survey.error << '\n';
        return kCliLinkFailed;
    }
    if (survey.instruments.empty()) out << "no instrument on USB\n";
    for (const SurveyedInstrument& instrument : survey.instruments) {
        out << fmt::format(
            "usb:{}  {}  {}  {}\n", instrument.index, instrument.location, instrument.ids,
            instrument.whyNot.empty() ? "ready" : "cannot be opened: " + instrument.whyNot);
    }
    return kCliSent;
}

}  // namespace

CliCommand ListCommand() {
    return {"list",
            "the instruments on USB, one a line: the N of --link usb:N, bus and port, "
            "vendor:product, and whether it can be opened now",
            "",
            "",
            NoArguments,
            ListInstruments};
}

}  // namespace valdrix::cli
