#include "framework/system_menu.h"

namespace valdrix::gui {

void CMenu::AppendMenu(unsigned flags, unsigned id, const CString& text) {
    m_items.push_back({flags, id, text});
}

}  // namespace valdrix::gui
