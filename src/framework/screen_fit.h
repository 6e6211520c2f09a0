#pragma once

#include <QSize>

#include "framework/dialog_template.h"

class QWidget;

namespace valdrix::gui {

// What a page's controls keep free between them and the bottom of its room.
inline constexpr int kRoomMargin = 4;

// The room a window may take on a screen: its available area (without the panels), at most
// that of 1366 x 768 less a panel, less a window manager's title bar, which is drawn in the
// screen's own pixels.
QSize RoomForWindow(const QSize& availableArea, double devicePixelRatio);

// The point size at which a dialog template, drawn with its font and dialog units together,
// fits the room: the template's own size when it fits, smaller in half points when it does not,
// never below a size that can still be read on the screen.
double FittingPointSize(const DialogTemplate& dialogTemplate, const QSize& room,
                        double devicePixelRatio);

// Half a point smaller; CanShrink says whether that size, drawn at the screen's pixel ratio,
// can still be read.
double SmallerPointSize(double pointSize);
bool CanShrink(double pointSize, double devicePixelRatio);

// Whether a window's controls lie inside the room, with a margin at its bottom. A text box only
// needs its upper left quarter in it: it is made smaller to end inside, and its text scrolls.
bool ControlsFitRoom(const QWidget& window, const QSize& room);

}  // namespace valdrix::gui
