#pragma once

#include "framework/wnd.h"

class QTabBar;

namespace valdrix::gui {

// The tab control. A selection set from the program sends no change notification: only the
// operator's choice of a tab does.
class CTabCtrl : public CWnd {
public:
    int InsertItem(int index, const CString& label);
    int GetItemCount() const;
    CString GetItemText(int index) const;
    int GetCurSel() const;
    int SetCurSel(int index);

    // Where the operator's selection changes are announced.
    QTabBar* Bar() const;
};

}  // namespace valdrix::gui
