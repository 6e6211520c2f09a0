#pragma once

#include "res/product_texts.h"

namespace valdrix::gui {

// The whole program: options, the instrument link, the application object.
int RunProgram(int argc, char** argv, const ProductTexts& texts);

}  // namespace valdrix::gui
