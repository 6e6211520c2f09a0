#include "framework/tab_ctrl.h"

#include <QSignalBlocker>
#include <QTabBar>

#include "framework/tab_control.h"

namespace valdrix::gui {

QTabBar* CTabCtrl::Bar() const {
    auto* control = dynamic_cast<TabControl*>(m_hWnd);
    return control != nullptr ? control->Bar() : nullptr;
}

int CTabCtrl::InsertItem(int index, const CString& label) {
    if (Bar() == nullptr) return -1;
    const QSignalBlocker quiet(Bar());
    const QString text = QString::fromStdString(label);
    const int inserted = Bar()->insertTab(index, text);
    // The blanks that space the labels out are not read aloud.
    Bar()->setAccessibleTabName(inserted, text.trimmed());
    return inserted;
}

int CTabCtrl::GetItemCount() const {
    return Bar() != nullptr ? Bar()->count() : 0;
}

CString CTabCtrl::GetItemText(int index) const {
    return Bar() != nullptr ? Bar()->tabText(index).toStdString() : CString();
}

int CTabCtrl::GetCurSel() const {
    return Bar() != nullptr ? Bar()->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int index) {
    if (Bar() == nullptr || index < 0 || index >= Bar()->count()) return -1;
    const int previous = Bar()->currentIndex();
    const QSignalBlocker quiet(Bar());
    Bar()->setCurrentIndex(index);
    return previous;
}

}  // namespace valdrix::gui
