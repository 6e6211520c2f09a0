#include "app/status_line.h"

#include <fmt/format.h>

#include <QFontMetrics>
#include <QLabel>

namespace valdrix::gui {

StatusLine::StatusLine(QLabel& label) : m_label(label) {
    m_label.setWordWrap(false);
    m_label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label.setFont(m_label.parentWidget()->font());
}

void StatusLine::Show(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    if (whole == m_text) return;
    m_text = whole;
    m_label.setText(
        QFontMetrics(m_label.font()).elidedText(whole, Qt::ElideRight, m_label.width()));
    m_label.setToolTip(whole);
    // A label named for what it is shows its text to assistive technology as its description;
    // Qt tells its change on the bus, and a screen reader speaks it.
    m_label.setAccessibleDescription(whole);
}

std::string ProgressText(std::size_t number, std::size_t count, const std::string& line,
                         std::size_t pressesWaiting) {
    std::string text = fmt::format("Sending line {} of {}: {}", number, count, line);
    if (pressesWaiting > 0) {
        text += fmt::format("; {} more press{} waiting", pressesWaiting,
                            pressesWaiting == 1 ? "" : "es");
    }
    return text;
}

}  // namespace valdrix::gui
