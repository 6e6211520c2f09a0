#pragma once

#include <functional>
#include <optional>

#include "framework/cstring.h"
#include "framework/dialog.h"
#include "pages/model/command_sender.h"

namespace valdrix::gui {

// What every tab page offers the main dialog: the sequence its fields make, and the command text
// of its last send. The dialog sends the sequence through the one sender; a refused field sends
// nothing.
class CommandPage : public CDialog {
public:
    using CDialog::CDialog;

    CString m_strCommand;

    // The fields exchanged and their sequence composed; nothing when a field is refused, which
    // the page has told the operator.
    std::optional<valdrix::model::CommandSequence> SequenceToSend();
    // The command text of a send of this page that wrote something.
    void ShowSent(const valdrix::model::SendReport& report);

    // Where a press of one of the page's own buttons sends its sequence: the owner's sender.
    using PressSender = std::function<void(valdrix::model::CommandSequence)>;
    void SetPressSender(PressSender sender) { m_pressSender = std::move(sender); }

protected:
    // The page's lines and pauses for its current fields; the fields are already exchanged.
    virtual valdrix::model::CommandSequence ComposeSequence() = 0;
    virtual valdrix::model::LineEnds CommandLineEnds() const = 0;
    // Runs when m_strCommand holds the text of a send that wrote something.
    virtual void OnSent() {}
    void SendPress(valdrix::model::CommandSequence sequence);

private:
    PressSender m_pressSender;
};

}  // namespace valdrix::gui
