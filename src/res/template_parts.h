#pragma once

#include <string>
#include <vector>

#include "framework/dialog_template.h"

// Shorthands that keep the template tables readable: one row a control, in template order.
inline ControlTemplate Label(int id, std::string text, int x, int y, int cx, int cy,
                             unsigned style = kStyleNone) {
    return {id, ControlKind::Label, std::move(text), x, y, cx, cy, style, {}};
}

inline ControlTemplate Edit(int id, int x, int y, int cx, int cy, unsigned style = kStyleNone) {
    return {id, ControlKind::Edit, {}, x, y, cx, cy, style, {}};
}

inline ControlTemplate Combo(int id, int x, int y, int cx, int cy, std::vector<std::string> items) {
    return {id, ControlKind::ComboBox, {}, x, y, cx, cy, kStyleNone, std::move(items)};
}

inline ControlTemplate Button(int id, std::string text, int x, int y, int cx, int cy,
                              unsigned style = kStyleNone) {
    return {id, ControlKind::PushButton, std::move(text), x, y, cx, cy, style, {}};
}

inline ControlTemplate Radio(int id, std::string text, int x, int y, int cx, int cy) {
    return {id, ControlKind::RadioButton, std::move(text), x, y, cx, cy, kStyleGroup, {}};
}

inline DialogTemplate Page(unsigned id, int cx, int cy, std::vector<ControlTemplate> controls) {
    return {id, {}, "@宋体", 14, cx, cy, true, std::move(controls)};
}

DialogTemplate MainDialogTemplate(const std::string& caption);
DialogTemplate AboutTemplate(const std::string& caption, const std::string& label);
std::vector<DialogTemplate> PageTemplates();
