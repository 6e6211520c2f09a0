#include "framework/framework_dialog.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "framework/dialog.h"

namespace valdrix::gui {

namespace {

bool IsEnterKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

QPushButton* DefaultButton(const QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible() && button->isEnabled()) return button;
    }
    return nullptr;
}

}  // namespace

FrameworkDialog::FrameworkDialog(CDialog& owner, QWidget* parent)
    : QDialog(parent), m_owner(owner) {}

void FrameworkDialog::keyPressEvent(QKeyEvent* event) {
    if (!IsEnterKey(*event)) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
        focused->click();
    } else if (QPushButton* button = DefaultButton(*this)) {
        button->click();
    }
}

void FrameworkDialog::contextMenuEvent(QContextMenuEvent* event) {
    const CMenu* systemMenu = m_owner.GetSystemMenu(false);
    if (systemMenu == nullptr || systemMenu->Items().empty()) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    for (const CMenu::Item& item : systemMenu->Items()) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        const unsigned id = item.id;
        QObject::connect(menu.addAction(QString::fromStdString(item.text)), &QAction::triggered,
                         &menu, [this, id] { m_owner.OnSysCommand(id, 0); });
    }
    m_owner.ExtendContextMenu(menu);
    menu.exec(event->globalPos());
}

}  // namespace valdrix::gui
