#include "pages/model/command_format.h"

// The printf machinery is heavy to compile: it is used in this unit only.
#include <fmt/args.h>
#include <fmt/printf.h>

namespace valdrix::model {

std::string FormatCommand(std::string_view format, std::initializer_list<CommandValue> values) {
    fmt::dynamic_format_arg_store<fmt::printf_context> arguments;
    for (const CommandValue& value : values) {
        std::visit([&arguments](const auto& v) { arguments.push_back(v); }, value);
    }
    return fmt::vsprintf(fmt::string_view(format.data(), format.size()), arguments);
}

}  // namespace valdrix::model
