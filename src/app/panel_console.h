#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "app/command_history.h"

class QLineEdit;

namespace valdrix::gui {

// The console under the log: one line typed for the instrument as it stands. It takes Up and
// Down for its history and Enter for its line: Enter never reaches the dialog, which would press
// a button. Esc throws away a typed line; in an empty console it closes the window, as everywhere
// else.
class PanelConsole : public QObject {
public:
    // Sends a line as a press; the line comes back through Taken once the instrument took it.
    using Sender = std::function<void(const std::string& line)>;
    explicit PanelConsole(Sender send) : m_send(std::move(send)) {}

    // The console line of the dialog, once its window is made.
    void Attach(QLineEdit& line);
    // A line the sender did not refuse goes into the history, and out of the console unless the
    // operator typed another meanwhile. A refused line stays to be mended.
    void Taken(const std::string& line);

    CommandHistory& History() { return m_history; }
    const CommandHistory& History() const { return m_history; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Recall(bool older);
    void Enter();

    Sender m_send;
    CommandHistory m_history;
    QLineEdit* m_line = nullptr;
};

}  // namespace valdrix::gui
