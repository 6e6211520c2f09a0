#include "cli/setup_options.h"

namespace valdrix::cli {

namespace {

constexpr char kSetupOption[] = "--setup";
constexpr char kSetupPrefix[] = "--setup=";
constexpr char kPrintSetupOption[] = "--print-setup";

}  // namespace

SetupOptions TakeSetupOptions(CommandArguments arguments) {
    SetupOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            options.fieldArguments.insert(options.fieldArguments.end(),
                                          arguments.begin() + static_cast<long>(i),
                                          arguments.end());
            break;
        }
        if (argument == kPrintSetupOption) {
            options.print = true;
        } else if (argument == kSetupOption || argument.starts_with(kSetupPrefix)) {
            options.file = argument == kSetupOption
                               ? (i + 1 < arguments.size() ? arguments[++i] : std::string())
                               : argument.substr(sizeof kSetupPrefix - 1);
            if (options.file.empty()) options.error = "--setup needs a FILE, not an empty name";
        } else {
            options.fieldArguments.push_back(argument);
        }
    }
    return options;
}

}  // namespace valdrix::cli
