#pragma once

#include <QSize>

#include "framework/rect.h"

class QScrollArea;
class QWidget;

namespace valdrix::gui {

// The room of a page inside the tab control. The page keeps its template's size in it; when
// the window was drawn too small for all of the page, scroll bars reach the rest.
class PageViewport {
public:
    PageViewport(QWidget& tabControl, const CRect& rect);

    // Where the page's window is made.
    QWidget* PageParent() const;
    // The size the page is shown in without scrolling.
    QSize Room() const;
    // Takes the page's window, at least as large as the room.
    void Hold(QWidget& page);
    void Show(bool shown);

private:
    QScrollArea* m_area;
};

}  // namespace valdrix::gui
