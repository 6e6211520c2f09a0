#pragma once

#include "framework/wnd.h"

class QComboBox;

inline constexpr int CB_ERR = -1;

// An editable drop-down combo box: its text is whatever its edit field shows, picked or typed.
class CComboBox : public CWnd {
public:
    int AddString(const CString& item);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    CString GetLBText(int index) const;

private:
    QComboBox* Box() const;
};
