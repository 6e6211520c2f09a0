#include "framework/combo_box.h"

#include <QComboBox>
#include <QLineEdit>

namespace valdrix::gui {

QComboBox* CComboBox::Box() const {
    return qobject_cast<QComboBox*>(m_hWnd);
}

int CComboBox::AddString(const CString& item) {
    if (Box() == nullptr) return CB_ERR;
    Box()->addItem(QString::fromStdString(item));
    return Box()->count() - 1;
}

int CComboBox::GetCount() const {
    return Box() != nullptr ? Box()->count() : 0;
}

int CComboBox::GetCurSel() const {
    return Box() != nullptr ? Box()->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    if (Box() == nullptr || index < 0 || index >= Box()->count()) return CB_ERR;
    Box()->setCurrentIndex(index);
    // The edit field shows the item even when the operator typed over the same index before.
    Box()->setEditText(Box()->itemText(index));
    if (QLineEdit* field = Box()->lineEdit()) field->setCursorPosition(0);
    return index;
}

CString CComboBox::GetLBText(int index) const {
    return Box() != nullptr ? Box()->itemText(index).toStdString() : CString();
}

int CComboBox::FindStringExact(const CString& text) const {
    if (Box() == nullptr) return CB_ERR;
    const int index =
        Box()->findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return index >= 0 ? index : CB_ERR;
}

}  // namespace valdrix::gui
