#include "framework/tab_control.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QWheelEvent>

#include "framework/font_sized_style.h"

namespace valdrix::gui {

namespace {

// The row of tabs. Pages change by a click or from the keyboard shortcuts of the window that
// holds it, never by the wheel: a wheel turned over the row on its way elsewhere would switch
// pages the operator did not ask for.
class TabRow : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

}  // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new TabRow(this)) {
    // The row takes no place in the Tab order: Ctrl+Tab and Ctrl+PgDn change pages from any field.
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    m_bar->setStyle(FontSizedStyle());
}

void TabControl::resizeEvent(QResizeEvent* event) {
    m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    QWidget::resizeEvent(event);
}

void TabControl::paintEvent(QPaintEvent*) {
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int barHeight = m_bar->sizeHint().height();
    frame.rect = QRect(0, barHeight - 1, width(), height() - barHeight + 1);
    frame.tabBarSize = m_bar->sizeHint();
    frame.shape = QTabBar::RoundedNorth;
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace valdrix::gui
