#include "framework/tab_control.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
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
