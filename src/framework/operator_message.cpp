#include "framework/operator_message.h"

#include <cstdio>
#include <utility>

namespace valdrix::gui {

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

void AfxMessageBox(const std::string& text, const std::string& caption) {
    if (Handler()) {
        Handler()(text, caption);
    } else {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
}

MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

}  // namespace valdrix::gui
