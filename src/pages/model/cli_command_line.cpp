#include "pages/model/cli_command_line.h"

#include <algorithm>
#include <string_view>

namespace valdrix::model {

std::string ShellWord(const std::string& text) {
    const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("-_./:+=,@%").find(c) != std::string_view::npos;
    });
    if (plain) return text;
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string LinkOption(const valdrix::link::LinkChoice& link) {
    using Kind = valdrix::link::LinkChoice::Kind;
    if (link.kind == Kind::Usb && link.usbIndex == 0) return {};
    return " --link " + ShellWord(valdrix::link::LinkSpelling(link));
}

std::string CliCommandLine(const CataloguePage& page, const FieldTexts& texts,
                           const valdrix::link::LinkChoice& link) {
    std::string mode;
    for (const FieldRow& field : page.fields) {
        if (field.kind == FieldKind::Radio) mode = *FindText(texts, field.option);
    }
    std::string command = "valdrix-cli" + LinkOption(link) + " " + page.name;
    for (const FieldRow& field : page.fields) {
        if (!field.onlyInMode.empty() && field.onlyInMode != mode) continue;
        command += " --" + field.option + " " + ShellWord(*FindText(texts, field.option));
    }
    return command;
}

}  // namespace valdrix::model
