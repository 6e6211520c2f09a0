#include "app/valdrix_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <sstream>

#include "app/command_history.h"
#include "cli/cli_run.h"
#include "link/ch375.h"
#include "link/link_status.h"
#include "res/resource_ids.h"
#include "support/test_fixture.h"

using namespace valdrix::model;

namespace {

using ::testing::AllOf;
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
    void Start(PanelStart start = {}) {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        InstallDeviceBackend(CountingWrites(InstallDeviceBackend(nullptr)));
        dlg = std::make_unique<CValdrixDlg>(kFileLink, start);
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

    QLineEdit* Console() const { return qobject_cast<QLineEdit*>(dlg->GetDlgItem(IDC_CONSOLE)); }
    void Enter(const std::string& line) {
        Console()->setText(QString::fromStdString(line));
        QTest::keyClick(Console(), Qt::Key_Return);
    }
    std::string File(const QString& name) const { return (config.path() + "/" + name).toStdString(); }
    static QByteArray Bytes(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    QTemporaryDir config;
    std::unique_ptr<CValdrixDlg> dlg;
};

const PanelStart kRemember{true, false};
// gtest's fixtures have a Setup of their own.
using PanelSetup = valdrix::model::Setup;

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

// Texts typed as they stand, numbers that do not parse included; every field but the mode.
PanelSetup Awkward(PanelSetup setup) {
    const std::string texts[] = {"a b",  "x=y;z", "\"q\" 'q'", "Größe µs", "",     " ends ",
                                 "4321.0", "\\",   "#x",        "[x]",      "\"", "="};
    std::size_t next = 0;
    for (auto& page : setup) {
        for (auto& [option, text] : page.fields) {
            if (option != "mode") text = texts[next++ % std::size(texts)];
        }
    }
    return setup;
}

TEST_F(MainDialogTest, FieldsTabAndConsoleComeBackAtTheNextStartAndFromASetup) {
    Start(kRemember);
    const PanelSetup defaults = dlg->ShownSetup();
    ClickTab(2);
    const PanelSetup typed = Awkward(defaults);
    dlg->ShowSetup(typed);
    Enter("*SAV 1");
    dlg->EndDialog(IDCANCEL);
    Start(kRemember);
    EXPECT_EQ(dlg->ShownSetup(), typed);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageAm);
    EXPECT_EQ(dlg->ConsoleHistory(), std::vector<std::string>{"*SAV 1"});
    EXPECT_EQ(Frames(), FramesOf({"*SAV 1"})) << "nothing is sent at start";
    ASSERT_TRUE(dlg->SaveSetupTo(File("a.valdrix")));
    dlg->OnRestoreDefaults();
    EXPECT_EQ(dlg->ShownSetup(), defaults);
    dlg->OpenSetupFrom(File("a.valdrix"));
    EXPECT_EQ(dlg->ShownSetup(), typed);
    EXPECT_TRUE(messages.empty());
}

// Whatever is wrong with the kept fields, the pages show their defaults, the file is named and
// it is left as it was, for the operator to mend; opening it as a setup changes nothing.
TEST_F(MainDialogTest, AFileThatCannotBeTakenIsNamedAndLeftAsItIs) {
    Start();
    const PanelSetup defaults = dlg->ShownSetup();
    const std::string kept = File("valdrix/valdrix.conf");
    const std::string valid = "[am]\nstate=OFF\n[setup]\nformat=1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"(unreadable)", "is a directory"}, {valid.substr(0, 13), "cut short"},
        {"[am]\nstate OFF\n" + valid, "line 2 is neither"}, {valid + "format=2\n", "newer version"}};
    for (const auto& [text, why] : cases) {
        QDir(QString::fromStdString(kept)).removeRecursively();
        QDir().mkpath(QString::fromStdString(text == "(unreadable)" ? kept : File("valdrix")));
        QFile file(QString::fromStdString(kept));
        if (file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();
        messages.clear();
        Start(kRemember);
        dlg->OpenSetupFrom(kept);
        dlg->EndDialog(IDCANCEL);
        EXPECT_EQ(dlg->ShownSetup(), defaults) << why;
        ASSERT_EQ(messages.size(), 2u) << why;
        EXPECT_THAT(messages[0].text, AllOf(HasSubstr(kept), HasSubstr(why)));
        EXPECT_EQ(Bytes(kept).toStdString(), text) << why;
    }
}

// A setup saved by the panel and sent by valdrix-cli, page by page, on a file link.
TEST_F(MainDialogTest, ASavedSetupSentByValdrixCliPutsTheSameBytesOnTheWire) {
    Start();
    dlg->ShowSetup({{"continuous", {{"mode", "output"}, {"freq", " 4321.5"}, {"waveform", "SQUare"}}},
                    {"burst", {{"cycles", "+7"}}}});
    ASSERT_TRUE(dlg->SaveSetupTo(File("b.valdrix")));
    for (int tab = 0; tab < kPageCount; ++tab) {
        ClickTab(tab);
        timeline->events.clear();
        Click(kValidate);
        const std::string wire = File(QString("wire%1").arg(tab));
        std::istringstream in;
        std::ostringstream out, err;
        EXPECT_EQ(RunCli({"--setup", File("b.valdrix"), dlg->ShownSetup()[tab].name, "--link",
                          "file:" + wire}, in, out, err), kCliSent) << err.str();
        EXPECT_EQ(Bytes(wire).toStdString(), fmt::format("{}", fmt::join(Frames(), "")));
        // The log's "Copy as valdrix-cli command", run by a shell, gives the same lines.
        QProcess shell;
        shell.start("sh", {"-c", QString::fromStdString(dlg->CommandOfShownPage())
                                     .replace(0, 11, VALDRIX_CLI_PROGRAM) + " --dry-run"});
        EXPECT_TRUE(shell.waitForFinished(30000));
        EXPECT_EQ(shell.readAllStandardOutput(), Bytes(wire)) << dlg->CommandOfShownPage();
    }
}

// The console sends through the same sender and gate as the pages, and keeps what it sent.
TEST_F(MainDialogTest, TheConsoleRecallsRefusesAndWaitsForASend) {
    Start();
    for (const std::string& line :
         std::vector<std::string>{"*SAV 1", "*RCL 1", "AB\x01", std::string(1023, 'A')}) {
        Enter(line);
    }
    EXPECT_EQ(Frames(), FramesOf({"*SAV 1", "*RCL 1"}));
    EXPECT_EQ(messages.size(), 2u) << "each refused line is told";
    EXPECT_EQ(LogText(), "*RCL 1");
    std::vector<std::string> recalled;
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(Console(), key);
        recalled.push_back(Console()->text().toStdString());
    }
    EXPECT_EQ(recalled, (std::vector<std::string>{"*RCL 1", "*SAV 1", "*SAV 1", "*RCL 1", ""}));
    ClickTab(6);
    timeline->events.clear();
    PressingClock pressing;
    pressing.press = [this] { Enter("*TRG"); };
    Click(kValidate);
    InstallPauseClock(pressing.clock);
    EXPECT_EQ(Frames().back(), Frame("*TRG"));
    EXPECT_EQ(Frames().front(), Frame("SWEep:STATe ON"));
    CommandHistory history;
    for (int line = 0; line < 205; ++line) history.Add(std::to_string(line));
    EXPECT_EQ(history.Entries().front(), "5");
}

}  // namespace
