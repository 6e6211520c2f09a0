#include "main_dialog_fixture.h"

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "res/resource_ids.h"

void MainDialogTest::TearDown() {
    dlg.reset();
    InstrumentTest::TearDown();
}

void MainDialogTest::Start() {
    dlg = std::make_unique<CValdrixDlg>();
    dlg->Create(IDD_VALDRIX_DIALOG, nullptr);
    dlg->GetSafeHwnd()->show();
}

void MainDialogTest::Click(int buttonId) {
    QTest::mouseClick(qobject_cast<QPushButton*>(dlg->GetDlgItem(buttonId)), Qt::LeftButton);
}

void MainDialogTest::ClickTab(int tab) {
    QTabBar* bar = dlg->m_tab.Bar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

std::string MainDialogTest::LogText() const {
    return CWnd(dlg->GetDlgItem(1006)).GetWindowText();
}

void MainDialogTest::TypeIntoLog(const std::string& text) {
    CWnd(dlg->GetDlgItem(1006)).SetWindowText(text);
}

const CommandPage* MainDialogTest::VisiblePage() {
    const CommandPage* visible = nullptr;
    for (int tab = 0; tab < kPageCount; ++tab) {
        const CommandPage* page = dlg->PageOfTab(tab);
        if (page->IsWindowVisible()) {
            EXPECT_EQ(visible, nullptr) << "two pages are visible at once";
            visible = page;
        }
    }
    return visible;
}
