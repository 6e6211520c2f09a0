#include "app/panel_presses.h"

#include "framework/operator_message.h"

namespace valdrix::gui {

using namespace valdrix::model;

namespace {

void TellAboutSend(const SendReport& report) {
    if (!report.message.empty()) AfxMessageBox(report.message, kSendErrorCaption);
}

}  // namespace

PanelPresses::PanelPresses(QObject& window, valdrix::link::Instrument& instrument, Wiring wiring)
    : m_window(window),
      m_instrument(instrument),
      m_wiring(std::move(wiring)),
      m_sender(instrument) {}

void PanelPresses::Run(std::function<void()> press) {
    m_gate.Run([this, press = std::move(press)] {
        m_wiring.statusLine().PressBegins(m_instrument.Writes());
        press();
        if (!m_gate.Held()) PressOver();
    });
    // This press waits behind a send: the status line counts it.
    m_wiring.statusLine().ShowWaiting(m_gate.Waiting());
}

// The status line tells what the press did, from the writes the link counted during it.
void PanelPresses::PressOver() {
    m_wiring.statusLine().PressEnds(m_instrument.Writes());
    m_wiring.showStatus();
}

// The gate stays held until the send ends.
void PanelPresses::Send(CommandSequence sequence, Ended ended) {
    SendListener listener;
    listener.starting = [this](std::size_t number, std::size_t count, const std::string& line) {
        QMetaObject::invokeMethod(
            &m_window,
            [this, number, count, line] {
                m_wiring.statusLine().ShowProgress({number, count, line}, m_gate.Waiting());
            },
            Qt::QueuedConnection);
    };
    const auto refused = m_sender.Queue(
        std::move(sequence), std::move(listener), [this, ended](const SendReport& report) {
            QMetaObject::invokeMethod(
                &m_window, [this, ended, report] { EndSend(report, ended); }, Qt::QueuedConnection);
        });
    if (refused) {
        TellAboutSend(*refused);
        ended(*refused);
        return;
    }
    m_gate.Hold();
}

void PanelPresses::EndSend(const SendReport& report, const Ended& ended) {
    TellAboutSend(report);
    ended(report);
    PressOver();
    m_gate.Release();
}

}  // namespace valdrix::gui
