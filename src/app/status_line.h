#pragma once

#include <QString>
#include <string>

class QLabel;

namespace valdrix::gui {

// The one line under the log that says how the link is, what a running send is doing and what
// the last one did. It keeps to one line at the window's font: a long text is cut at its end,
// and the whole of it is in the tooltip and the accessible description, whose change screen
// readers speak.
class StatusLine {
public:
    explicit StatusLine(QLabel& label);

    void Show(const std::string& text);
    QString Text() const { return m_text; }

private:
    QLabel& m_label;
    QString m_text;
};

// "Sending line 3 of 6: FREQuency:STOP 1000.000000Hz; 1 more press waiting."
std::string ProgressText(std::size_t number, std::size_t count, const std::string& line,
                         std::size_t pressesWaiting);

}  // namespace valdrix::gui
