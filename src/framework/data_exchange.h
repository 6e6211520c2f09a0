#pragma once

#include "framework/cstring.h"

namespace valdrix::gui {

class CDialog;
class CWnd;

// One run of data exchange between a dialog's members and its controls. Once a field has
// failed, every later exchange of the run does nothing.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;

    bool Failed() const { return m_failed; }
    // "Freq: not sent: Please enter ...": the refused field by its name, and why; empty while
    // no field has failed.
    const CString& Refusal() const { return m_refusal; }
    // Tells the operator, puts the focus on the field being exchanged, and ends the run.
    void Fail(const CString& message);
    // The control that is being exchanged; a range check refers to the last one prepared.
    CWnd PrepareCtrl(int id);

private:
    int m_lastControl = 0;
    bool m_failed = false;
    CString m_refusal;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);

}  // namespace valdrix::gui
