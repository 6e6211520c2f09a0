#include "framework/radio_button_accessible.h"

#include <QRadioButton>

namespace valdrix::gui {

namespace {

QAccessibleInterface* MakeRadioButtonAccessible(const QString& className, QObject* object) {
    auto* radio = qobject_cast<QRadioButton*>(object);
    if (className != QLatin1String("QRadioButton") || radio == nullptr) return nullptr;
    return new RadioButtonAccessible(radio);
}

}  // namespace

RadioButtonAccessible::RadioButtonAccessible(QRadioButton* radio)
    : QAccessibleWidget(radio, QAccessible::RadioButton) {}

QRadioButton* RadioButtonAccessible::Radio() const {
    return static_cast<QRadioButton*>(widget());
}

QString RadioButtonAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return Radio()->text();
    return QAccessibleWidget::text(t);
}

QAccessible::State RadioButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Radio()->isChecked();
    return state;
}

QStringList RadioButtonAccessible::actionNames() const {
    return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
}

void RadioButtonAccessible::doAction(const QString& actionName) {
    if (actionName != toggleAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
    } else if (widget()->isEnabled()) {
        Radio()->click();
    }
}

void InstallRadioButtonAccessible() {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(MakeRadioButtonAccessible);
        return true;
    }();
}

}  // namespace valdrix::gui
