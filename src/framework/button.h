#pragma once

#include "framework/wnd.h"

namespace valdrix::gui {

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

class CButton : public CWnd {
public:
    using CWnd::CWnd;
    int GetCheck() const;
    void SetCheck(int state);
};

}  // namespace valdrix::gui
