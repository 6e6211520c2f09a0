#pragma once

#include "framework/cstring.h"
#include "framework/rect.h"

class QWidget;

namespace valdrix::gui {

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

// A handle on one window or control. The widget belongs to Qt's parent tree; a CWnd only
// refers to it.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(QWidget* widget) : m_hWnd(widget) {}
    virtual ~CWnd() = default;

    void Attach(QWidget* widget) { m_hWnd = widget; }
    QWidget* GetSafeHwnd() const { return m_hWnd; }

    // Multi-line boxes hold their lines joined by "\r\n", as the command texts are kept.
    CString GetWindowText() const;
    void SetWindowText(const CString& text);

    CRect GetClientRect() const;
    void MoveWindow(const CRect& rect, bool repaint = true);
    void ShowWindow(int command);
    bool IsWindowVisible() const;
    void SetFocus();

protected:
    QWidget* m_hWnd = nullptr;
};

}  // namespace valdrix::gui
