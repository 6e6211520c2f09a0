#include "pages/command_page.h"

#include "pages/common_commands.h"

SendOutcome CommandPage::SendCommands() {
    if (!UpdateData(true)) return SendOutcome::Refused;
    const SendReport report = SendSequence(ComposeSequence());
    if (report.outcome == SendOutcome::Refused) return report.outcome;
    m_strCommand = CommandText(report, CommandLineEnds());
    OnSent();
    return report.outcome;
}

void CommandPage::SendTrigger() { SendSingleCommand(kTriggerCommand); }
