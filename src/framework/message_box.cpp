#include "framework/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

void ShowModalBox(const CString& text, const CString& caption) {
    const QString title = caption.empty() ? QApplication::applicationName()
                                          : QString::fromStdString(caption);
    // The terminal keeps what the operator was told after the box is gone.
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.c_str());
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
