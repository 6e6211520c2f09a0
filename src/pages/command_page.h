#pragma once

#include "framework/cstring.h"
#include "framework/dialog.h"
#include "pages/model/command_sender.h"

// What every tab page offers the main dialog: SendCommands, and the command text of its last
// send. A page exchanges its fields (a refused field sends nothing) and writes its sequence
// through the one sender.
class CommandPage : public CDialog {
public:
    using CDialog::CDialog;

    CString m_strCommand;

    valdrix::model::SendOutcome SendCommands();

protected:
    // The page's lines and pauses for its current fields; the fields are already exchanged.
    virtual valdrix::model::CommandSequence ComposeSequence() = 0;
    virtual valdrix::model::LineEnds CommandLineEnds() const = 0;
    // Runs when m_strCommand holds the text of a send that wrote something.
    virtual void OnSent() {}
};
