#include "app/page_viewport.h"

#include <QScrollArea>
#include <algorithm>

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

QWidget* PageViewport::PageParent() const { return m_area->viewport(); }

namespace {

constexpr int kMargin = 4;

// A text box that runs past the room is made shorter and narrower to end inside it, down to
// half its size: its text scrolls inside it, and the page around it need not.
void FitTextBoxes(QWidget& page, const QSize& room) {
    for (auto* box : page.findChildren<QAbstractScrollArea*>(Qt::FindDirectChildrenOnly)) {
        QRect place = box->geometry();
        place.setRight(std::max(std::min(place.right(), room.width() - kMargin),
                                place.left() + place.width() / 2));
        place.setBottom(std::max(std::min(place.bottom(), room.height() - kMargin),
                                 place.top() + place.height() / 2));
        box->setGeometry(place);
    }
}

}  // namespace

// The page's own size is the room, or what its controls need when they reach beyond it.
void PageViewport::Hold(QWidget& page) {
    FitTextBoxes(page, m_area->size());
    const QRect controls = page.childrenRect();
    const QSize needed(controls.right() + kMargin, controls.bottom() + kMargin);
    page.resize(needed.expandedTo(m_area->size()));
    m_area->setWidget(&page);
}

void PageViewport::Show(bool shown) { m_area->setVisible(shown); }

}  // namespace valdrix::gui
