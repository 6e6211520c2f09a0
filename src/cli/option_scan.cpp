#include "cli/option_scan.h"

#include <fmt/format.h>

#include <algorithm>

#include "link/command_line.h"

namespace valdrix::cli {

using namespace valdrix::link;

namespace {

constexpr std::string_view kHelpOption = "--help";

bool Knows(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

OptionScan ScanOptions(CommandArguments arguments, const std::vector<std::string>& names) {
    OptionScan scan;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kHelpOption || argument == "-h") {
            scan.helpAsked = true;
            return scan;
        }
        // "--" ends the options; a page takes nothing else.
        if (argument == "--" && i + 1 < arguments.size()) {
            scan.error = fmt::format("unexpected argument \"{}\": every field is an option",
                                     PrintableText(arguments[i + 1]));
            return scan;
        }
        if (argument == "--") return scan;
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (!name.starts_with("--")) {
            scan.error = fmt::format("unexpected argument \"{}\": every field is an option",
                                     PrintableText(argument));
            return scan;
        }
        if (!Knows(names, name)) {
            scan.error = fmt::format("unknown option {}", PrintableText(name));
            return scan;
        }
        if (equals != std::string::npos) {
            scan.values.emplace_back(name, argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            scan.values.emplace_back(name, arguments[++i]);
        } else {
            scan.error = fmt::format("{} needs a value", name);
            return scan;
        }
    }
    return scan;
}

}  // namespace valdrix::cli
