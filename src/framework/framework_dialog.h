#pragma once

#include <QDialog>

namespace valdrix::gui {

class CDialog;

// The window of a dialog that stands on its own (main dialog, About box). Enter presses the
// focused push button, or else the template's default button, and nothing otherwise: a value
// typed into a field and confirmed with Enter must never close the window. Esc and the window's
// Close end the dialog. The system-menu items are offered in the context menu.
class FrameworkDialog : public QDialog {
public:
    FrameworkDialog(CDialog& owner, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CDialog& m_owner;
};

}  // namespace valdrix::gui
