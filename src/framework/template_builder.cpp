#include "framework/template_builder.h"

#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "framework/font_sized_style.h"
#include "framework/radio_button_accessible.h"
#include "framework/resources.h"
#include "framework/tab_control.h"

namespace valdrix::gui {

namespace {

constexpr char kIdProperty[] = "controlId";
constexpr unsigned kApplicationIcon = 128;

QWidget* MakeLabel(const ControlTemplate& control, QWidget& parent) {
    auto* label = new QLabel(QString::fromStdString(control.text), &parent);
    label->setAlignment((control.style & kStyleCentered) ? Qt::AlignHCenter | Qt::AlignTop
                                                         : Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget& parent) {
    if (control.style & kStyleMultiLine) {
        auto* box = new QPlainTextEdit(&parent);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
        return box;
    }
    return new QLineEdit(&parent);
}

// A completer that no box keeps: a line edit that already has one spares the combo box the
// cost of making its own, which would be taken away again at once.
QCompleter* CompleterToDiscard() {
    static auto* discarded = new QCompleter(QCoreApplication::instance());
    return discarded;
}

QWidget* MakeComboBox(QWidget& parent) {
    auto* combo = new QComboBox(&parent);
    GiveFontSizedStyle(*combo);
    // Editable through its own line edit: setEditable(true) would also build the drop-down
    // list's popup at once, which the operator may never open.
    auto* field = new QLineEdit(combo);
    field->setCompleter(CompleterToDiscard());
    combo->setLineEdit(field);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // What the operator types goes out as typed: Qt's completer would turn "mHz" into "MHz"
    // (a factor of 10^9) or "square" into "SQUare" when the focus leaves the box.
    combo->setCompleter(nullptr);
    combo->setMaxVisibleItems(8);
    return combo;
}

QWidget* MakePushButton(const ControlTemplate& control, QWidget& parent) {
    auto* button = new QPushButton(QString::fromStdString(control.text), &parent);
    // The dialog decides what Enter does; a button only answers to Enter while it has the focus.
    button->setAutoDefault(false);
    button->setDefault((control.style & kStyleDefaultButton) != 0);
    return button;
}

QWidget* MakeRadioButton(const ControlTemplate& control, QWidget& parent) {
    InstallRadioButtonAccessible();
    auto* radio = new QRadioButton(QString::fromStdString(control.text), &parent);
    // Each radio button starts a group of its own; the page keeps them exclusive.
    radio->setAutoExclusive(false);
    return radio;
}

QWidget* MakeIcon(QWidget& parent) {
    auto* picture = new QLabel(&parent);
    picture->setPixmap(LoadIconResource(kApplicationIcon).pixmap(32, 32));
    return picture;
}

QWidget* MakeControl(const ControlTemplate& control, QWidget& parent) {
    switch (control.kind) {
        case ControlKind::Label: return MakeLabel(control, parent);
        case ControlKind::Edit: return MakeEdit(control, parent);
        case ControlKind::ComboBox: return MakeComboBox(parent);
        case ControlKind::PushButton: return MakePushButton(control, parent);
        case ControlKind::RadioButton: return MakeRadioButton(control, parent);
        case ControlKind::TabControl: return new TabControl(&parent);
        case ControlKind::Icon: return MakeIcon(parent);
    }
    return nullptr;
}

// Room for a combo box's frame and its edit field's margins above and below the text.
constexpr int kComboBoxFrame = 8;

// A combo box's template height is that of its dropped list; the closed box is as tall as
// its edit field needs, and no taller than its text with a frame: the style's own height does
// not shrink with the font, and a box drawn smaller would cover the label below it.
QRect PlaceOf(const ControlTemplate& control, const QWidget& widget, const DialogBaseUnits& units) {
    QRect place = MapDialogRect(units, control.x, control.y, control.cx, control.cy);
    if (control.kind == ControlKind::ComboBox) {
        place.setHeight(
            std::min(widget.sizeHint().height(), widget.fontMetrics().height() + kComboBoxFrame));
    }
    // The substitute fonts are wider than the template's own; a label grows rather than clip.
    if (control.kind == ControlKind::Label) {
        place.setWidth(std::max(place.width(), widget.sizeHint().width()));
    }
    return place;
}

// On Linux a combo box is announced by its text; its edit field carries the name there.
void NameForAssistiveTechnology(QWidget& control, const QString& name) {
    control.setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(&control))
        combo->lineEdit()->setAccessibleName(name);
}

// The label becomes the field's buddy: Qt's accessibility then reports the field as "labelled
// by" it, a unit label after its field too. The field is named by its first label, without the
// blanks that place the text, unless the template names it (two "Freq Unit" boxes on one page
// must not sound alike). Neither changes what the operator sees or the tab order.
void PairWithLabel(QLabel& label, QWidget& field) {
    label.setBuddy(&field);
    if (field.accessibleName().isEmpty()) NameForAssistiveTechnology(field, label.text().trimmed());
}

// A label may stand before or after its field in template order; pairing waits until every
// control exists.
void PairLabelsWithFields(const DialogTemplate& dialogTemplate, const std::vector<QWidget*>& built,
                          const std::map<int, QWidget*>& controls) {
    for (std::size_t i = 0; i < built.size(); ++i) {
        const ControlTemplate& control = dialogTemplate.controls[i];
        if (control.buddy == IDC_STATIC) continue;
        auto* label = qobject_cast<QLabel*>(built[i]);
        const auto field = controls.find(control.buddy);
        if (label != nullptr && field != controls.end()) PairWithLabel(*label, *field->second);
    }
}

}  // namespace

std::map<int, QWidget*> BuildControls(const DialogTemplate& dialogTemplate, QWidget& window,
                                      const DialogBaseUnits& units) {
    std::map<int, QWidget*> controls;
    std::vector<QWidget*> built;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = MakeControl(control, window);
        widget->setProperty(kIdProperty, control.id);
        widget->setGeometry(PlaceOf(control, *widget, units));
        if (!control.accessibleName.empty()) {
            NameForAssistiveTechnology(*widget, QString::fromStdString(control.accessibleName));
        }
        if (control.id != IDC_STATIC) controls.emplace(control.id, widget);
        built.push_back(widget);
    }
    PairLabelsWithFields(dialogTemplate, built, controls);
    return controls;
}

int ControlId(const QWidget& control) {
    const QVariant id = control.property(kIdProperty);
    return id.isValid() ? id.toInt() : IDC_STATIC;
}

}  // namespace valdrix::gui
