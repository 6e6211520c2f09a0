#pragma once

#include <functional>
#include <string>

namespace valdrix::model {

// Every message to the operator goes through here. The panel shows it in a modal box, valdrix-cli
// writes it to standard error, tests record it. With no handler installed it goes to standard
// error. With no caption the application's name is meant.
void AfxMessageBox(const std::string& text, const std::string& caption = std::string());

// Returns the previous handler; an empty handler restores standard error.
using MessageBoxHandler = std::function<void(const std::string& text, const std::string& caption)>;
MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler);

}  // namespace valdrix::model
