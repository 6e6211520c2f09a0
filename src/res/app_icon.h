#pragma once

class QIcon;

namespace valdrix::gui {

// The application's icon: a sine wave on a dark screen, at 32 x 32 and 16 x 16 pixels.
QIcon ApplicationIcon();

}  // namespace valdrix::gui
