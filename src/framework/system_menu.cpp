#include "framework/system_menu.h"

void CMenu::AppendMenu(unsigned flags, unsigned id, const CString& text) {
    m_items.push_back({flags, id, text});
}
