#include "framework/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

void ShowModalBox(const CString& text, const CString& caption) {
    const QString title = caption.empty() ? QApplication::applicationName()
                                          : QString::fromStdString(caption);
    QMessageBox box(QMessageBox::NoIcon, title, QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace

void AfxMessageBox(const CString& text, const CString& caption) {
    if (Handler()) {
        Handler()(text, caption);
    } else {
        ShowModalBox(text, caption);
    }
}

MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}
