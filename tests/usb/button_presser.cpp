// Plays the operator for an end-to-end run of an unchanged program on a display-less platform:
// loaded into the program with LD_PRELOAD, it waits for the main dialog, presses the buttons
// that VALDRIX_PRESS names ("Reset=*RST,Local=*SYSTem:LOCal": each button and the log text it
// must leave), and closes the dialog. A message box, a wrong log or no dialog at all ends the
// program with status 1 and the reason on standard error.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPollMs = 50;
constexpr qint64 kPatienceMs = 20000;

struct Press {
    QString button;
    QString expectedLog;
};

QList<Press> PressesAsked() {
    QList<Press> presses;
    const QString asked = qEnvironmentVariable("VALDRIX_PRESS");
    for (const QString& item : asked.split(',', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf('=');
        presses.append({item.left(equals), equals < 0 ? QString() : item.mid(equals + 1)});
    }
    return presses;
}

[[noreturn]] void Fail(const QString& reason) {
    std::fprintf(stderr, "button presser: %s\n", qPrintable(reason));
    std::fflush(nullptr);
    std::_Exit(1);
}

QPushButton* ButtonOf(const QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

// The main dialog: the shown window that holds the first button asked for.
QDialog* MainDialog(const QString& button) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog->isVisible() && ButtonOf(*dialog, button) != nullptr) {
            return dialog;
        }
    }
    return nullptr;
}

void FailOnMessageBox() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box != nullptr && box->isVisible()) Fail("message box: " + box->text());
    }
}

// The log is the dialog's own multi-line box; the pages' boxes sit deeper.
QString LogText(const QDialog& dialog) {
    const auto* log = dialog.findChild<QPlainTextEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (log == nullptr) Fail("the main dialog has no log box");
    return log->toPlainText();
}

class Presser : public QObject {
public:
    Presser() : m_presses(PressesAsked()) {
        if (m_presses.isEmpty()) Fail("VALDRIX_PRESS names no button");
        m_clock.start();
        connect(&m_watch, &QTimer::timeout, this, &Presser::Watch);
        m_watch.start(kPollMs);
    }

private:
    // Keeps running inside the event loops of the sends' pauses and of any message box.
    void Watch() {
        FailOnMessageBox();
        if (m_clock.elapsed() > kPatienceMs) Fail("the run did not end in time");
        if (m_pressing) return;
        QDialog* dialog = MainDialog(m_presses.front().button);
        if (dialog == nullptr) return;
        m_pressing = true;
        QTimer::singleShot(0, this, [this, dialog] { PressAll(*dialog); });
    }

    void PressAll(QDialog& dialog) {
        for (const Press& press : m_presses) PressAndCheck(dialog, press);
        dialog.reject();
    }

    static void PressAndCheck(QDialog& dialog, const Press& press) {
        QPushButton* button = ButtonOf(dialog, press.button);
        if (button == nullptr) Fail("no button " + press.button);
        button->click();
        FailOnMessageBox();
        if (LogText(dialog) != press.expectedLog) {
            Fail("after " + press.button + " the log shows \"" + LogText(dialog) + "\", not \"" +
                 press.expectedLog + "\"");
        }
        std::printf("pressed %s\n", qPrintable(press.button));
    }

    QList<Press> m_presses;
    QTimer m_watch;
    QElapsedTimer m_clock;
    bool m_pressing = false;
};

// Runs while the application object is made; the presser starts with the first event loop.
void StartPresser() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { new Presser; }, Qt::QueuedConnection);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartPresser)
