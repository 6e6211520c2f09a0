#include "pages/command_page.h"

namespace valdrix::gui {

using namespace valdrix::model;

std::optional<CommandSequence> CommandPage::SequenceToSend() {
    if (!UpdateData(true)) return std::nullopt;
    return ComposeSequence();
}

void CommandPage::ShowSent(const SendReport& report) {
    if (report.outcome == SendOutcome::Refused) return;
    m_strCommand = CommandText(report, CommandLineEnds());
    OnSent();
}

void CommandPage::SendPress(CommandSequence sequence) {
    if (m_pressSender) m_pressSender(std::move(sequence));
}

}  // namespace valdrix::gui
