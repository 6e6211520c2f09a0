#include "app/page_viewport.h"

#include <QScrollArea>
#include <algorithm>

#include "framework/screen_fit.h"

namespace valdrix::gui {

PageViewport::PageViewport(QWidget& tabControl, const CRect& rect)
    : m_area(new QScrollArea(&tabControl)) {
    m_area->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    m_area->setFrameShape(QFrame::NoFrame);
    // The page's fields keep their Tab order; the scroll area is no stop of its own.
    m_area->setFocusPolicy(Qt::NoFocus);
    // The tab control's frame shows through around the page.
    m_area->viewport()->setAutoFillBackground(false);
    m_area->hide();
}

QWidget* PageViewport::PageParent() const {
    return m_area->viewport();
}

QSize PageViewport::Room() const {
    return m_area->size();
}

namespace {

// A text box that runs past the room is made shorter and narrower to end inside it, down to
// half its size: its text scrolls inside it, and the page around it need not.
void FitTextBoxes(QWidget& page, const QSize& room) {
    for (auto* box : page.findChildren<QAbstractScrollArea*>(Qt::FindDirectChildrenOnly)) {
        QRect place = box->geometry();
        place.setRight(std::max(std::min(place.right(), room.width() - kRoomMargin),
                                place.left() + place.width() / 2));
        place.setBottom(std::max(std::min(place.bottom(), room.height() - kRoomMargin),
                                 place.top() + place.height() / 2));
        box->setGeometry(place);
    }
}

}  // namespace

// The page's own size is the room, or what its controls need when they reach beyond it.
void PageViewport::Hold(QWidget& page) {
    FitTextBoxes(page, Room());
    const QRect controls = page.childrenRect();
    const QSize needed(controls.right() + 1, controls.bottom() + kRoomMargin);
    page.resize(needed.expandedTo(Room()));
    m_area->setWidget(&page);
}

void PageViewport::Show(bool shown) {
    m_area->setVisible(shown);
}

}  // namespace valdrix::gui
