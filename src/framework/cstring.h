#pragma once

#include <string>

namespace valdrix::gui {

// The framework's string type: a plain narrow string. Texts typed by the operator arrive as UTF-8.
using CString = std::string;

}  // namespace valdrix::gui
