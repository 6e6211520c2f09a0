#pragma once

#include <functional>
#include <string>

namespace valdrix::gui {

// Every message from the panel to the operator goes through here. The program shows it in a modal
// box, tests record it. With no handler installed it goes to standard error. With no caption the
// application's name is meant.
void AfxMessageBox(const std::string& text, const std::string& caption = std::string());

// Returns the previous handler; an empty handler restores standard error.
using MessageBoxHandler = std::function<void(const std::string& text, const std::string& caption)>;
MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler);

}  // namespace valdrix::gui
