#include "framework/button.h"

#include <QAbstractButton>

namespace valdrix::gui {

int CButton::GetCheck() const {
    auto* button = qobject_cast<QAbstractButton*>(m_hWnd);
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int state) {
    if (auto* button = qobject_cast<QAbstractButton*>(m_hWnd))
        button->setChecked(state == BST_CHECKED);
}

}  // namespace valdrix::gui
