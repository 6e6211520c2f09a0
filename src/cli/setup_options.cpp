#include "cli/setup_options.h"

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
            options.fieldArguments.insert(options.fieldArguments.end(), arguments.begin() + static_cast<long>(i),
                                          arguments.end());
            break;
        }
        if (argument == kPrintSetupOption) {
            options.print = true;
        } else if (argument == kSetupOption && i + 1 < arguments.size()) {
            options.file = arguments[++i];
        } else if (argument == kSetupOption) {
            options.error = "--setup needs a FILE";
        } else if (argument.starts_with(kSetupPrefix)) {
            options.file = argument.substr(sizeof kSetupPrefix - 1);
        } else {
            options.fieldArguments.push_back(argument);
        }
    }
    return options;
}
