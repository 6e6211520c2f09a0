#pragma once

class QComboBox;
class QStyle;

namespace valdrix::gui {

// The application's style, with the parts that it keeps at a fixed size in pixels made no larger
// than the widget's font is high: a combo box's drop-down arrow and the space beside a tab's
// text (above and below it, half that). In a window drawn smaller they would otherwise take the
// room of the text ("NORMa", a tab row that needs scroll arrows). One style shared by the widgets
// that use it.
QStyle* FontSizedStyle();

// Gives a combo box that has just been made the style above, at the cost of a style alone.
void GiveFontSizedStyle(QComboBox& newBox);

}  // namespace valdrix::gui
