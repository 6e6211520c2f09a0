#pragma once

#include <string>
#include <vector>

namespace valdrix::gui {

enum class ControlKind { Label, Edit, ComboBox, PushButton, RadioButton, TabControl, Icon };

// Style bits of a control, as far as the builder needs them.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleCentered = 1u << 0,       // label text centred
    kStyleMultiLine = 1u << 1,      // edit box with several lines and a vertical scroll bar
    kStyleDefaultButton = 1u << 2,  // the push button that Enter presses
    kStyleGroup = 1u << 3,          // starts a group of its own (radio buttons)
};

inline constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Label;
    std::string text;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    unsigned style = kStyleNone;
    std::vector<std::string> items;  // initial combo-box list, in stored order
    // A label: the id of the field it stands beside, which screen readers then call by the
    // label's text. IDC_STATIC for a label that names no field (a unit, a note).
    int buddy = IDC_STATIC;
    // A field that no label names: what it holds, as screen readers announce it.
    std::string accessibleName;
    // A control that shows a field of its page: the field's option name ("freq"), and for a
    // radio button the choice it stands for. The page binds its fields to controls by these.
    std::string field = {};
    std::string choice = {};
};

struct DialogTemplate {
    unsigned id = 0;
    std::string caption;
    std::string fontFace;
    int pointSize = 9;
    int cx = 0, cy = 0;                     // dialog units
    bool child = false;                     // a child page rather than a window of its own
    std::vector<ControlTemplate> controls;  // template order, which is also the tab order
    // The page of the catalogue that a page template shows, by its name; empty for a window.
    std::string page = {};
};

}  // namespace valdrix::gui
