#pragma once

#include "framework/cstring.h"
#include "framework/dialog.h"
#include "pages/command_sender.h"
#include "pages/command_sequence.h"

// What every tab page offers the main dialog: SendCommands, and the command text of its last
// send. A page reads its combo boxes as they show, exchanges its fields (a refused field sends
// nothing) and writes its sequence through the one sender.
class CommandPage : public CDialog {
public:
    using CDialog::CDialog;

    CString m_strCommand;

    SendOutcome SendCommands();

protected:
    // The page's lines and pauses for its current fields; the fields are already exchanged.
    virtual CommandSequence ComposeSequence() = 0;
    virtual LineEnds CommandLineEnds() const { return LineEnds::AfterEachLine; }
    // Runs when m_strCommand holds the text of a send that wrote something.
    virtual void OnSent() {}
};
