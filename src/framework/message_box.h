#pragma once

#include <functional>

#include "framework/cstring.h"

// Every message to the operator goes through here: modal, OK button only, no icon, and echoed
// to standard error. With no caption the application's name is used.
void AfxMessageBox(const CString& text, const CString& caption = CString());

// Tests replace the box with a recorder so that nothing modal blocks them. Returns the
// previous handler; an empty handler restores the real box.
using MessageBoxHandler = std::function<void(const CString& text, const CString& caption)>;
MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler);
