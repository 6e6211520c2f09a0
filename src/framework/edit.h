#pragma once

#include "framework/wnd.h"

// An edit box, single- or multi-line; everything it needs is in CWnd.
class CEdit : public CWnd {};
