#pragma once

#include <QAccessibleWidget>

class QRadioButton;

namespace valdrix::gui {

// What assistive technology sees of a radio button. Qt's own view calls a radio button that is
// not auto-exclusive a check box (and each radio button of a template starts a group of its own,
// its page keeping the pair exclusive), and toggles it without the click that the page handles,
// which would leave both checked. This one is always a radio button, and choosing it clicks it,
// as the operator's mouse would.
class RadioButtonAccessible : public QAccessibleWidget {
public:
    explicit RadioButtonAccessible(QRadioButton* radio);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QRadioButton* Radio() const;
};

// Has every radio button seen through RadioButtonAccessible. Must run before the first radio
// button is made (Qt asks about a widget as it is created); running it again does nothing.
void InstallRadioButtonAccessible();

}  // namespace valdrix::gui
