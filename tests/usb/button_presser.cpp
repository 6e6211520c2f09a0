// Plays the operator for an end-to-end run of an unchanged program on a display-less platform:
// loaded into the program with LD_PRELOAD, it presses Reset and Local in the main dialog, checks
// the log after each, and closes the dialog. A message box or a wrong log ends the program
// with status 1 and the reason on standard error.
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

// Each button and the log text it must leave.
constexpr std::pair<const char*, const char*> kPresses[] = {{"Reset", "*RST"},
                                                            {"Local", "*SYSTem:LOCal"}};

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

// The send runs on the program's sender thread; the log shows it once the send is over. The
// watch goes on meanwhile, so a message box still ends the run.
bool LogShows(const QPlainTextEdit& log, const QString& text) {
    constexpr int kPatienceMs = 10000;
    QElapsedTimer waited;
    waited.start();
    while (log.toPlainText() != text && waited.elapsed() < kPatienceMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return log.toPlainText() == text;
}

void PressAll(QDialog& dialog) {
    // The log is the dialog's own multi-line box; the pages' boxes sit deeper.
    const auto* log = dialog.findChild<QPlainTextEdit*>(QString(), Qt::FindDirectChildrenOnly);
    for (const auto& [button, logged] : kPresses) {
        QPushButton* pressed = ButtonOf(dialog, button);
        if (pressed == nullptr) Fail(QString("no button %1").arg(button));
        pressed->click();
        if (log == nullptr || !LogShows(*log, logged)) {
            Fail(QString("after %1 the log does not show %2").arg(button, logged));
        }
        std::printf("pressed %s\n", button);
    }
    dialog.reject();
}

// Runs every 50 ms, also while a send runs and inside the event loop of a message box.
void Watch(bool& pressing) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        if (auto* box = qobject_cast<QMessageBox*>(window)) Fail("message box: " + box->text());
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && !pressing && ButtonOf(*dialog, kPresses[0].first) != nullptr) {
            pressing = true;
            // Out of the watch, so that the watch keeps running while the buttons are pressed.
            QTimer::singleShot(0, dialog, [dialog] { PressAll(*dialog); });
        }
    }
}

// Runs while the application object is made; the application owns the watch.
void StartPresser() {
    auto* watch = new QTimer(QCoreApplication::instance());
    QObject::connect(watch, &QTimer::timeout, [pressing = false]() mutable { Watch(pressing); });
    watch->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartPresser)
