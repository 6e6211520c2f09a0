#include "framework/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace valdrix::gui {

void ShowModalMessageBox(const CString& text, const CString& caption) {
    const QString title =
        caption.empty() ? QApplication::applicationName() : QString::fromStdString(caption);
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.c_str());
    QMessageBox box(QMessageBox::NoIcon, title, QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace valdrix::gui
