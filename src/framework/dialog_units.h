#pragma once

#include <QRect>

class QFont;

namespace valdrix::gui {

// Base units of a dialog font: dialog units are quarters of the average character width and
// eighths of the character height.
struct DialogBaseUnits {
    int cx = 0;
    int cy = 0;
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int cx, int cy);

}  // namespace valdrix::gui
