#pragma once

#include "framework/wnd.h"

class QComboBox;

namespace valdrix::gui {

inline constexpr int CB_ERR = -1;

// An editable drop-down combo box: its text is whatever its edit field shows, picked or typed.
class CComboBox : public CWnd {
public:
    using CWnd::CWnd;
    int AddString(const CString& item);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    CString GetLBText(int index) const;
    // The index of the item that is exactly text, or CB_ERR.
    int FindStringExact(const CString& text) const;

private:
    QComboBox* Box() const;
};

}  // namespace valdrix::gui
