#include "app/valdrix_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>

#include "link/ch375.h"
#include "link/link_status.h"
#include "res/resource_ids.h"
#include "support/test_fixture.h"

using namespace valdrix::link;

using namespace valdrix::model;

namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

constexpr int kValidate = 1003;
constexpr int kReset = 1004;
constexpr int kLocal = 1005;
constexpr int kLog = 1006;
const LinkChoice kFileLink{LinkChoice::Kind::File, 0, "/dev/instrument"};
const std::string kLink = "file /dev/instrument: ";
const std::string kDirectLine = "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc";

// The real main dialog on the offscreen platform, shown and active, with the recorder behind
// the link and every write counted as the program counts it.
class MainDialogTest : public InstrumentTest {
protected:
    void Start() {
        InstallDeviceBackend(CountingWrites(InstallDeviceBackend(nullptr)));
        dlg = std::make_unique<CValdrixDlg>(kFileLink);
        dlg->Create(IDD_VALDRIX_DIALOG, nullptr);
        dlg->GetSafeHwnd()->show();
        dlg->GetSafeHwnd()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg->GetSafeHwnd()));
    }

    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(dlg->GetDlgItem(id)); }
    void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }
    void ClickTab(int tab) {
        QTest::mouseClick(dlg->m_tab.Bar(), Qt::LeftButton, {},
                          dlg->m_tab.Bar()->tabRect(tab).center());
    }
    std::string LogText() const { return CWnd(dlg->GetDlgItem(kLog)).GetWindowText(); }
    std::string Status() const {
        return qobject_cast<QLabel*>(dlg->GetDlgItem(IDC_LINK_STATUS))->text().toStdString();
    }
    // The page whose window the operator sees; the tab row must show its tab.
    const CommandPage* VisiblePage() {
        const CommandPage* selected = dlg->PageOfTab(dlg->m_tab.GetCurSel());
        for (int tab = 0; tab < kPageCount; ++tab) {
            EXPECT_EQ(dlg->PageOfTab(tab)->IsWindowVisible(), dlg->PageOfTab(tab) == selected);
        }
        return selected;
    }

    std::unique_ptr<CValdrixDlg> dlg;
};

// The tab table; the pages' windows were made in another order (Burst before Sweep). The
// window with its status line fits a 1366 x 768 screen with a panel bar.
TEST_F(MainDialogTest, EachTabShowsAndSendsItsOwnPage) {
    Start();
    EXPECT_LE(dlg->GetSafeHwnd()->height(), 728);
    const std::string firstLine[] = {kDirectLine,      "FM:STATe ON",    "AM:STATe ON",
                                     "PM:STATe ON",    "PWM:STATe ON",   "FSKey:STATe ON",
                                     "SWEep:STATe ON", "BURSt:STATe ON"};
    for (int tab = 0; tab < kPageCount; ++tab) {
        ClickTab(tab);
        EXPECT_EQ(VisiblePage(), dlg->PageOfTab(tab));
        timeline->events.clear();
        Click(kValidate);
        EXPECT_EQ(Frames().front(), Frame(firstLine[tab])) << "tab " << tab;
    }
    EXPECT_TRUE(messages.empty());
}

// A refused change of page leaves the tab of the page in view selected, so that Validate never
// sends a page the operator cannot see once the instrument is there.
TEST_F(MainDialogTest, WithoutTheInstrumentEveryActionIsRefusedWithTheReason) {
    script->openFails = true;
    Start();
    const std::string reason = "no instrument is attached.";
    EXPECT_EQ(messages, (std::vector<ShownMessage>{{"Open CH372 failure\n\n" + reason, "ERROR"}}));
    EXPECT_EQ(Status(), kLink + "not connected: " + reason + " Nothing sent yet.");
    messages.clear();
    ClickTab(2);
    QTest::keyClick(dlg->GetDlgItem(kLog), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageContinous);
    for (const int button : {kValidate, kReset, kLocal}) Click(button);
    EXPECT_EQ(messages, std::vector<ShownMessage>(
                            5, {"Please first open the USB devices\n\n" + reason, "ERROR"}));
    EXPECT_EQ(script->writes, 0);

    script->openFails = false;
    Click(kValidate);
    EXPECT_EQ(Frames(), FramesOf({kDirectLine}));
    EXPECT_EQ(Status(), kLink + "connected. Last send: 1 line reached the instrument.");
}

TEST_F(MainDialogTest, TimeoutFailureLeavesNoPageAndIsNeverRetried) {
    script->timeoutFails = true;
    Start();
    EXPECT_EQ(messages, (std::vector<ShownMessage>{
                            {"Connection CH375 overtime\n\nthe instrument does not answer.", ""}}));
    EXPECT_EQ(dlg->m_tab.GetItemCount(), 0);
    script->timeoutFails = false;
    Click(kReset);
    EXPECT_THAT(messages.back().text, HasSubstr("time-outs could not be set"));
    EXPECT_EQ(script->opens, 1);
}

TEST_F(MainDialogTest, AFailedWriteIsToldAndTheNextPressOpensTheInstrumentAgain) {
    Start();
    ClickTab(2);
    script->failWrite = 2;
    Click(kValidate);
    const std::string failed = "AM:INTernal:FREQuency 1000.000000Hz";
    EXPECT_EQ(Frames(), FramesOf({"AM:STATe ON"})) << "nothing after the failed line";
    EXPECT_THAT(messages, ElementsAre(Field(&ShownMessage::text, HasSubstr(failed))));
    EXPECT_EQ(LogText(),
              "AM:STATe ON\r\n" + failed + "    <-- NOT SENT: the instrument was unplugged\r\n");
    EXPECT_EQ(Status(),
              kLink + "not connected: the instrument was unplugged. Last send: \"" + failed +
                  "\" did not reach the instrument (the instrument was unplugged); 1 line "
                  "before it did.");
    Click(kLocal);
    EXPECT_EQ(script->opens, 2);
    EXPECT_EQ(Status(), kLink + "connected. Last send: 1 line reached the instrument.");
}

// A clock whose first pause presses, as the accessibility bus, a timer or a queued call can
// while a send waits between two lines.
struct PressingClock : PauseClock {
    void Sleep(unsigned milliseconds) override {
        clock->Sleep(milliseconds);
        if (press) std::exchange(press, {})();
    }
    PauseClock* clock = InstallPauseClock(this);
    std::function<void()> press;
};

TEST_F(MainDialogTest, PressesDuringASendRunWholeAfterItInTheirOrder) {
    Start();
    ClickTab(6);
    Click(kValidate);
    std::vector<std::string> expected = Frames();
    expected.insert(expected.end(), {Frame("*TRG"), Frame("*RST")});
    timeline->events.clear();
    PressingClock pressing;
    pressing.press = [this] {
        qobject_cast<QPushButton*>(dlg->m_pageSweep.GetDlgItem(1047))->click();
        ClickTab(2);
        Button(kReset)->click();
    };
    Click(kValidate);
    InstallPauseClock(pressing.clock);
    EXPECT_EQ(Frames(), expected);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageAm);
    EXPECT_EQ(LogText(), "*RST");
}

// Pages change by a click, or by Ctrl+Tab / Ctrl+PgDn and back from any field; not by the wheel
// over the tab row, which takes no place in the Tab order either.
TEST_F(MainDialogTest, PagesChangeByKeysFromAnyFieldButNotByTheWheel) {
    Start();
    QTabBar* bar = dlg->m_tab.Bar();
    EXPECT_FALSE(bar->focusPolicy() & Qt::TabFocus);
    const QPointF inBar = bar->tabRect(1).center();
    QWheelEvent wheel(inBar, bar->mapToGlobal(inBar), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageContinous);
    const std::pair<Qt::Key, const CommandPage*> steps[] = {
        {Qt::Key_Tab, &dlg->m_pageFm}, {Qt::Key_PageDown, &dlg->m_pageAm},
        {Qt::Key_Backtab, &dlg->m_pageFm}, {Qt::Key_PageUp, &dlg->m_pageContinous},
        {Qt::Key_PageUp, &dlg->m_pageBurst}};
    for (const auto& [key, page] : steps) {
        auto* field = VisiblePage()->GetSafeHwnd()->findChild<QLineEdit*>();
        field->setFocus();
        QTest::keyClick(
            field, key,
            key == Qt::Key_Backtab ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        EXPECT_EQ(VisiblePage(), page);
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
