#pragma once

#include <string>
#include <vector>

#include "framework/dialog_template.h"

namespace valdrix::gui {

// The field that a label names: screen readers call the field by the label's text.
struct Buddy {
    int field = IDC_STATIC;
};

// What a field that no label names holds, as screen readers announce it.
struct AccessibleName {
    std::string text;
};

// Shorthands that keep the template tables readable: one row a control, in template order.
inline ControlTemplate Label(int id, std::string text, int x, int y, int cx, int cy,
                             unsigned style = kStyleNone, Buddy buddy = {}) {
    return {id, ControlKind::Label, std::move(text), x, y, cx, cy, style, {}, buddy.field, {}};
}

inline ControlTemplate Label(int id, std::string text, int x, int y, int cx, int cy, Buddy buddy) {
    return Label(id, std::move(text), x, y, cx, cy, kStyleNone, buddy);
}

inline ControlTemplate Edit(int id, int x, int y, int cx, int cy, unsigned style = kStyleNone,
                            AccessibleName name = {}) {
    return {id, ControlKind::Edit, {}, x, y, cx, cy, style, {}, IDC_STATIC, std::move(name.text)};
}

inline ControlTemplate Combo(int id, int x, int y, int cx, int cy, std::vector<std::string> items,
                             AccessibleName name = {}) {
    return {id,         ControlKind::ComboBox, {}, x, y, cx, cy, kStyleNone, std::move(items),
            IDC_STATIC, std::move(name.text)};
}

inline ControlTemplate Button(int id, std::string text, int x, int y, int cx, int cy,
                              unsigned style = kStyleNone) {
    return {id, ControlKind::PushButton, std::move(text), x, y, cx, cy, style, {}, IDC_STATIC, {}};
}

inline ControlTemplate Radio(int id, std::string text, int x, int y, int cx, int cy) {
    return {
        id, ControlKind::RadioButton, std::move(text), x, y, cx, cy, kStyleGroup, {}, IDC_STATIC,
        {}};
}

// The control shows the page's field of that option name.
inline ControlTemplate Shows(std::string field, ControlTemplate control) {
    control.field = std::move(field);
    return control;
}

// The radio button stands for one choice of the page's field.
inline ControlTemplate Chooses(std::string field, std::string choice, ControlTemplate button) {
    button.choice = std::move(choice);
    return Shows(std::move(field), std::move(button));
}

// The template of the catalogue's page of that name.
inline DialogTemplate Page(unsigned id, std::string page, int cx, int cy,
                           std::vector<ControlTemplate> controls) {
    return {id, {}, "@宋体", 14, cx, cy, true, std::move(controls), std::move(page)};
}

DialogTemplate MainDialogTemplate(const std::string& caption);
DialogTemplate AboutTemplate(const std::string& caption, const std::string& label);
std::vector<DialogTemplate> PageTemplates();

}  // namespace valdrix::gui
