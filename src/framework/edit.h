#pragma once

#include "framework/wnd.h"

namespace valdrix::gui {

// An edit box, single- or multi-line; everything it needs is in CWnd.
class CEdit : public CWnd {};

}  // namespace valdrix::gui
