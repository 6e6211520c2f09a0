#include "pages/command_page.h"

namespace valdrix::gui {

using namespace valdrix::model;

SendOutcome CommandPage::SendCommands() {
    if (!UpdateData(true)) return SendOutcome::Refused;
    const SendReport report = SendSequence(PageInstrument(), ComposeSequence());
    if (report.outcome == SendOutcome::Refused) return report.outcome;
    m_strCommand = CommandText(report, CommandLineEnds());
    OnSent();
    return report.outcome;
}

}  // namespace valdrix::gui
