#include "framework/dialog.h"
#include "res/resource_ids.h"
#include "res/template_parts.h"

namespace valdrix::gui {

// clang-format off
DialogTemplate MainDialogTemplate(const std::string& caption) {
    return {IDD_VALDRIX_DIALOG, caption, "宋体", 14, 376, 277, false, {
        {IDC_TAB, ControlKind::TabControl, "Tab1", 1, 0, 282, 195, kStyleNone, {}, IDC_STATIC, {}},
        Button(IDC_VALIDATE, "Validate", 302, 71, 50, 14),
        Button(IDC_RESET, "Reset", 302, 181, 50, 14),
        Button(IDC_LOCAL, "Local", 302, 126, 50, 14),
        Edit(IDC_LOG, 1, 197, 282, 63, kStyleMultiLine, AccessibleName{"Command log"}),
        Label(IDC_STATIC, "Command Terminator:", 287, 21, 77, 8),
        Label(IDC_STATIC, "Line Feed( ASCII", 288, 36, 65, 8),
        Label(IDC_STATIC, "Character decimal 10)", 287, 52, 85, 8),
        // The link, whether it is open (or why not) and what the last send did, on two lines:
        // the window stays within 728 pixels at 96 dpi, for a 768-pixel screen with a panel.
        {IDC_LINK_STATUS, ControlKind::Label, {}, 1, 261, 374, 16, kStyleNone, {}, IDC_STATIC, "Link status"},
        // Any command line, through the same sender as the pages; in the room right of the log.
        Label(IDC_STATIC, "Command:", 287, 234, 60, 8, Buddy{IDC_CONSOLE}),
        Edit(IDC_CONSOLE, 287, 245, 87, 14, kStyleNone, AccessibleName{"Command console"}),
    }};
}

DialogTemplate AboutTemplate(const std::string& caption, const std::string& label) {
    return {IDD_ABOUTBOX, caption, "宋体", 9, 235, 55, false, {
        {IDC_STATIC, ControlKind::Icon, {}, 11, 17, 20, 20, kStyleNone, {}, IDC_STATIC, {}},
        Label(IDC_STATIC, label, 40, 10, 119, 8),
        Label(IDC_STATIC, "Copyright (C) 2026", 40, 25, 119, 8),
        Button(IDOK, "确定", 178, 7, 50, 14, kStyleDefaultButton),
    }};
}
// clang-format on

}  // namespace valdrix::gui
