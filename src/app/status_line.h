#pragma once

#include <QString>
#include <optional>
#include <string>

#include "link/link_status.h"

class QLabel;

namespace valdrix::gui {

// The line a send has come to, as its progress was last reported; count 0 when none runs.
struct SendProgressSeen {
    std::size_t number = 0;
    std::size_t count = 0;
    std::string line;
};

// The one line under the log that says how the link is, what a running send is doing and what
// the last one did. It keeps to one line at the window's font: a long text is cut at its end,
// and the whole of it is in the tooltip and the accessible description, whose change screen
// readers speak.
class StatusLine {
public:
    explicit StatusLine(QLabel& label);

    void Show(const std::string& text);
    QString Text() const { return m_text; }

    // A press that may write begins; the link has counted these writes so far.
    void PressBegins(const valdrix::link::WriteTally& writes);
    // The running send has come to this line.
    void ShowProgress(const SendProgressSeen& progress, std::size_t pressesWaiting);
    // A press came while a send runs: the line counts it.
    void ShowWaiting(std::size_t pressesWaiting);
    // The press is over: what it wrote, from the writes counted since it began, is the last send.
    void PressEnds(const valdrix::link::WriteTally& writes);
    // A field a page refused is told as the last send.
    void NoteRefusal(const std::string& refusal);
    // "USB instrument 0 (bus 1, port 2): connected. Last send: 7 lines reached the instrument."
    // whyNotConnected is empty when the link is usable.
    void ShowLink(const std::string& name, const std::optional<std::string>& whyNotConnected);

private:
    QLabel& m_label;
    QString m_text;
    SendProgressSeen m_progress;
    valdrix::link::WriteTally m_writesBefore;
    std::string m_lastSend;
};

// "Sending line 3 of 6: FREQuency:STOP 1000.000000Hz; 1 more press waiting."
std::string ProgressText(std::size_t number, std::size_t count, const std::string& line,
                         std::size_t pressesWaiting);

// What the last send did, from what the link counted before and after it; empty when it wrote
// nothing. A send of one line names it: a trigger is told apart from a reset.
std::string LastSendText(const valdrix::link::WriteTally& before,
                         const valdrix::link::WriteTally& after, const SendProgressSeen& progress);

}  // namespace valdrix::gui
