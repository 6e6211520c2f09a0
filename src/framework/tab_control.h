#pragma once

#include <QWidget>

class QTabBar;

namespace valdrix::gui {

// The tab control's window: one row of tabs over a framed panel. The pages are ordinary child
// windows of this widget, placed by their owner; the control itself never shows or hides them.
class TabControl : public QWidget {
public:
    explicit TabControl(QWidget* parent = nullptr);

    QTabBar* Bar() const { return m_bar; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QTabBar* m_bar;
};

}  // namespace valdrix::gui
