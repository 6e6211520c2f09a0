#include "framework/wnd.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace valdrix::gui {

namespace {

QString FromCrLf(const CString& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

CString ToCrLf(const QString& text) {
    return QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

}  // namespace

CString CWnd::GetWindowText() const {
    if (auto* edit = qobject_cast<QLineEdit*>(m_hWnd)) return edit->text().toStdString();
    if (auto* box = qobject_cast<QPlainTextEdit*>(m_hWnd)) return ToCrLf(box->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(m_hWnd)) return combo->currentText().toStdString();
    if (auto* label = qobject_cast<QLabel*>(m_hWnd)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(m_hWnd)) return button->text().toStdString();
    return m_hWnd != nullptr ? m_hWnd->windowTitle().toStdString() : CString();
}

void CWnd::SetWindowText(const CString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(m_hWnd)) {
        edit->setText(QString::fromStdString(text));
        edit->setCursorPosition(0);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(m_hWnd)) {
        box->setPlainText(FromCrLf(text));
    } else if (auto* combo = qobject_cast<QComboBox*>(m_hWnd)) {
        combo->setEditText(QString::fromStdString(text));
    } else if (auto* label = qobject_cast<QLabel*>(m_hWnd)) {
        label->setText(QString::fromStdString(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(m_hWnd)) {
        button->setText(QString::fromStdString(text));
    } else if (m_hWnd != nullptr) {
        m_hWnd->setWindowTitle(QString::fromStdString(text));
    }
}

CRect CWnd::GetClientRect() const {
    if (m_hWnd == nullptr) return {};
    return {0, 0, m_hWnd->width(), m_hWnd->height()};
}

void CWnd::MoveWindow(const CRect& rect, bool repaint) {
    if (m_hWnd == nullptr) return;
    m_hWnd->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (repaint) m_hWnd->update();
}

void CWnd::ShowWindow(int command) {
    if (m_hWnd != nullptr) m_hWnd->setVisible(command != SW_HIDE);
}

bool CWnd::IsWindowVisible() const {
    return m_hWnd != nullptr && m_hWnd->isVisible();
}

void CWnd::SetFocus() {
    if (m_hWnd == nullptr) return;
    m_hWnd->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(m_hWnd)) edit->selectAll();
}

}  // namespace valdrix::gui
