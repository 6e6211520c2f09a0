#pragma once

#include <QSize>

#include "framework/dialog_template.h"

namespace valdrix::gui {

// The room a window may take: the screen's available area, no more than a 1366 x 768 screen
// with a 40-pixel panel leaves, less a window manager's title bar.
QSize RoomForWindow(const QSize& availableArea);

// The point size at which a dialog template, drawn with its font and dialog units together,
// fits the room: the template's own size when it fits, smaller in half points when it does not,
// never below a size that can still be read.
double FittingPointSize(const DialogTemplate& dialogTemplate, const QSize& room);

}  // namespace valdrix::gui
