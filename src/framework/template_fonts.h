#pragma once

#include <string>

class QFont;

namespace valdrix::gui {

// Registers the faces that stand in for the templates' fonts where the machine lacks them:
// a legible Latin face first, then a Song/Ming face for Chinese text.
void RegisterFontSubstitutes();

QFont TemplateFont(const std::string& face, double pointSize);

}  // namespace valdrix::gui
