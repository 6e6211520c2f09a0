#include "app/panel_console.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace valdrix::gui {

void PanelConsole::Attach(QLineEdit& line) {
    m_line = &line;
    line.installEventFilter(this);
}

void PanelConsole::Taken(const std::string& line) {
    m_history.Add(line);
    if (m_line->text().toStdString() == line) m_line->clear();
}

bool PanelConsole::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_line || event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            if (m_line->text().isEmpty()) return false;
            m_line->clear();
            return true;
        case Qt::Key_Up: Recall(true); return true;
        case Qt::Key_Down: Recall(false); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: Enter(); return true;
        default: return false;
    }
}

void PanelConsole::Recall(bool older) {
    const std::string line =
        older ? m_history.Older(m_line->text().toStdString()) : m_history.Newer();
    m_line->setText(QString::fromStdString(line));
}

void PanelConsole::Enter() {
    const std::string line = m_line->text().toStdString();
    if (!line.empty()) m_send(line);
}

}  // namespace valdrix::gui
