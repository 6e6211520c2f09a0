#include "framework/font_sized_style.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QProxyStyle>
#include <QWidget>
#include <algorithm>

namespace valdrix::gui {

namespace {

class FontSized : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox || widget == nullptr) return rect;
        const QRect arrow = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
        const int spare = std::max(0, arrow.width() - widget->fontMetrics().height());
        if (part == SC_ComboBoxArrow) rect.setLeft(rect.left() + spare);
        if (part == SC_ComboBoxEditField) rect.setRight(rect.right() + spare);
        return rect;
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (widget == nullptr) return size;
        if (metric == PM_TabBarTabHSpace) return std::min(size, widget->fontMetrics().height());
        if (metric == PM_TabBarTabVSpace) return std::min(size, widget->fontMetrics().height() / 2);
        return size;
    }
};

// Keeps a fresh combo box from hearing that its style changed: it would rebuild its item delegate
// for the new style, which builds the drop-down list's popup at once, the costliest part of a
// page's start. A box without a popup gives it the delegate of its style when it first opens it.
class StyleChangeKeptFromNewBox : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::StyleChange;
    }
};

}  // namespace

void GiveFontSizedStyle(QComboBox& newBox) {
    StyleChangeKeptFromNewBox filter;
    newBox.installEventFilter(&filter);
    newBox.setStyle(FontSizedStyle());
}

QStyle* FontSizedStyle() {
    static auto* style = [] {
        auto* made = new FontSized;
        made->setParent(QCoreApplication::instance());
        return made;
    }();
    return style;
}

}  // namespace valdrix::gui
