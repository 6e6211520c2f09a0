#pragma once

#include <vector>

#include "framework/cstring.h"

namespace valdrix::gui {

inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_SEPARATOR = 0x0800;
inline constexpr unsigned SC_CLOSE = 0xF060;

// The items a dialog adds to its system menu. Where the window manager owns the real system
// menu, the dialog offers these items in its context menu instead.
class CMenu {
public:
    struct Item {
        unsigned flags = MF_STRING;
        unsigned id = 0;
        CString text;
    };

    void AppendMenu(unsigned flags, unsigned id = 0, const CString& text = CString());
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};

}  // namespace valdrix::gui
