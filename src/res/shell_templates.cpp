#include "framework/dialog.h"
#include "res/template_parts.h"

DialogTemplate MainDialogTemplate(const std::string& caption) {
    return {102, caption, "宋体", 14, 376, 277, false, {
        {1000, ControlKind::TabControl, "Tab1", 1, 0, 282, 195, kStyleNone, {}, IDC_STATIC, {}},
        Button(1003, "Validate", 302, 71, 50, 14),
        Button(1004, "Reset", 302, 181, 50, 14),
        Button(1005, "Local", 302, 126, 50, 14),
        Edit(1006, 1, 197, 282, 63, kStyleMultiLine, AccessibleName{"Command log"}),
        Label(IDC_STATIC, "Command Terminator:", 287, 21, 77, 8),
        Label(IDC_STATIC, "Line Feed( ASCII", 288, 36, 65, 8),
        Label(IDC_STATIC, "Character decimal 10)", 287, 52, 85, 8),
        // The link, whether it is open (or why not) and what the last send did, on two lines:
        // the window stays within 728 pixels at 96 dpi, for a 768-pixel screen with a panel.
        {1007, ControlKind::Label, {}, 1, 261, 374, 16, kStyleNone, {}, IDC_STATIC, "Link status"},
    }};
}

DialogTemplate AboutTemplate(const std::string& caption, const std::string& label) {
    return {100, caption, "宋体", 9, 235, 55, false, {
        {IDC_STATIC, ControlKind::Icon, {}, 11, 17, 20, 20, kStyleNone, {}, IDC_STATIC, {}},
        Label(IDC_STATIC, label, 40, 10, 119, 8),
        Label(IDC_STATIC, "Copyright (C) 2026", 40, 25, 119, 8),
        Button(IDOK, "确定", 178, 7, 50, 14, kStyleDefaultButton),
    }};
}
