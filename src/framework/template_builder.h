#pragma once

#include <map>

#include "framework/dialog_template.h"
#include "framework/dialog_units.h"

class QWidget;

namespace valdrix::gui {

// Creates the controls of a template as children of a window, in template order (which makes
// it the tab order), placed by the dialog units of the window's font. Returns them by id.
std::map<int, QWidget*> BuildControls(const DialogTemplate& dialogTemplate, QWidget& window,
                                      const DialogBaseUnits& units);

// The id a control was built with, or IDC_STATIC.
int ControlId(const QWidget& control);

}  // namespace valdrix::gui
