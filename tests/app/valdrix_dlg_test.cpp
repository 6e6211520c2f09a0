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
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <sstream>

#include "cli/cli_run.h"
#include "link/ch375.h"
#include "link/link_status.h"
#include "res/resource_ids.h"
#include "support/test_fixture.h"

using namespace valdrix::gui;

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
    void Start(PanelStart start = {}) {
        qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
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

    void Enter(const std::string& line) {
        CWnd(dlg->GetDlgItem(IDC_CONSOLE)).SetWindowText(line);
        QTest::keyClick(dlg->GetDlgItem(IDC_CONSOLE), Qt::Key_Return);
    }
    std::string File(const QString& name) const { return (config.path() + "/" + name).toStdString(); }
    static std::string Bytes(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(unreadable)";
    }

    QTemporaryDir config;
    QString configHome = config.path();
    std::unique_ptr<CValdrixDlg> dlg;
};

// A 16 KiB file system of the test's own, mounted over a temporary folder. Mounting needs root
// (as in CI); elsewhere the reason is given and the test is skipped.
struct SmallDisk {
    SmallDisk() {
        if (::mount("tmpfs", folder.path().toUtf8(), "tmpfs", 0, "size=16k") != 0) {
            whyNot = fmt::format("cannot mount a small tmpfs: {}", std::strerror(errno));
        }
    }
    ~SmallDisk() {
        if (whyNot.empty()) ::umount2(folder.path().toUtf8(), MNT_DETACH);
    }
    // Leaves one 4 KiB block free: the disk takes the start of a file and fails the rest.
    void FillButOneBlock() const {
        Fill("block", 8);
        Fill("rest", std::numeric_limits<int>::max());
        QFile::remove(folder.filePath("block"));
    }
    void Fill(const char* name, int chunks) const {
        const std::string chunk(512, 'x');
        const int fd = ::open(folder.filePath(name).toUtf8(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        while (chunks-- > 0 && ::write(fd, chunk.data(), chunk.size()) > 0) {
        }
        ::close(fd);
    }
    QTemporaryDir folder;
    std::string whyNot;
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

// A cut-short line is the one the status line names; the line end owed for it is no line.
TEST_F(MainDialogTest, TheStatusLineNamesTheCutLineAndCountsCommandLinesOnly) {
    Start();
    script->failAllWrites = true;
    script->shortBy = 3;
    Click(kReset);
    EXPECT_THAT(Status(), HasSubstr("Last send: \"*RST\" did not reach the instrument (only 2 of 5 "
                                    "bytes reached the instrument); 0 lines before it did."));
    script->failAllWrites = false;
    Click(kReset);
    EXPECT_EQ(Frames(), (std::vector<std::string>{"*R", "\n", "*RST\n"}));
    EXPECT_EQ(Status(), kLink + "connected. Last send: 1 line reached the instrument.");
}

// Two panels at once: the one closed last keeps its fields, and the console lines of both.
TEST_F(MainDialogTest, TwoPanelsKeepTheConsoleLinesOfBoth) {
    Start({true});
    Enter("*SAV 1");
    auto first = std::move(dlg);
    Start({true});
    Enter("*RCL 1");
    dlg->EndDialog(IDCANCEL);
    first->EndDialog(IDCANCEL);
    Start({true});
    EXPECT_EQ(dlg->ConsoleHistory(), (std::vector<std::string>{"*RCL 1", "*SAV 1"}));
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

// Texts typed as they stand, numbers that do not parse included.
const std::string kAwkward[] = {"a b", "x=y;z", "\"q\" 'q'", "Größe µs", "", " ends ", "4321.0", "#[x]",
                                " C:\\new\\ "};

TEST_F(MainDialogTest, FieldsTabAndConsoleComeBackAtTheNextStartAndFromASetup) {
    Start({true});
    valdrix::model::Setup typed = CValdrixDlg().ShownSetup();  // gtest has a Setup of its own
    std::size_t next = 0;
    for (auto& page : typed)
        for (auto& [option, text] : page.fields)
            if (option != "mode") text = kAwkward[next++ % std::size(kAwkward)];
    ClickTab(2);
    dlg->ShowSetup(typed);
    Enter("*SAV 1");
    dlg->EndDialog(IDCANCEL);
    Start({true});
    EXPECT_EQ(dlg->ShownSetup(), typed);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageAm);
    EXPECT_EQ(dlg->ConsoleHistory(), std::vector<std::string>{"*SAV 1"});
    EXPECT_EQ(Frames(), FramesOf({"*SAV 1"})) << "nothing is sent at start";
    ASSERT_TRUE(dlg->SaveSetupTo(File("a.valdrix")));
    dlg->OnRestoreDefaults();
    EXPECT_EQ(dlg->ShownSetup(), CValdrixDlg().ShownSetup());
    dlg->OpenSetupFrom(File("a.valdrix"));
    EXPECT_EQ(dlg->ShownSetup(), typed);
}

// Whatever is wrong with the kept fields, the pages show their defaults, the file is named and
// it is left as it was, for the operator to mend.
TEST_F(MainDialogTest, AFileThatCannotBeTakenIsNamedAndLeftAsItIs) {
    const std::string kept = File("valdrix/valdrix.conf"), valid = "[am]\nstate=OFF\n[setup]\nformat=1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"(unreadable)", "it is a directory"}, {valid.substr(0, 13), "it has no format version"},
        {"[am]\nstate OFF\n" + valid, "line 2 is neither"},
        {valid + "format=2\n", "it was written by a newer version"}};
    const auto put = [&kept, this](const std::string& text) {
        QFile::remove(QString::fromStdString(kept));
        QDir(QString::fromStdString(kept)).removeRecursively();
        QDir().mkpath(QString::fromStdString(text == "(unreadable)" ? kept : File("valdrix")));
        QFile file(QString::fromStdString(kept));
        file.open(QIODevice::WriteOnly) && file.write(text.c_str()) && file.flush();
    };
    for (const auto& [text, why] : cases) {
        // Broken while the panel runs, then at the start of the next.
        put(valid);
        Start({true});
        put(text);
        dlg->EndDialog(IDCANCEL);
        ASSERT_FALSE(messages.empty()) << why;
        EXPECT_THAT(messages.back().text, HasSubstr(kept + "\" cannot be used: " + why));
        EXPECT_THAT(messages.back().text, HasSubstr("The fields were not kept"));
        messages.clear();
        Start({true});
        dlg->EndDialog(IDCANCEL);
        EXPECT_EQ(dlg->ShownSetup(), CValdrixDlg().ShownSetup()) << why;
        ASSERT_FALSE(messages.empty()) << why;
        EXPECT_THAT(messages.back().text, HasSubstr(kept + "\" cannot be used: " + why));
        EXPECT_EQ(Bytes(kept), text) << why;
    }
}

// On a disk that fails part-way, neither a setup nor the kept file is replaced; the message
// names each with the reason.
TEST_F(MainDialogTest, ANearlyFullDiskLeavesEveryFileAsItWas) {
    const SmallDisk disk;
    if (!disk.whyNot.empty()) GTEST_SKIP() << disk.whyNot;
    configHome = disk.folder.path();
    const std::string setup = disk.folder.filePath("s.valdrix").toStdString();
    const std::string kept = disk.folder.filePath("valdrix/valdrix.conf").toStdString();
    Start({true});
    ASSERT_TRUE(dlg->SaveSetupTo(setup));
    dlg->EndDialog(IDCANCEL);
    const std::string setupBefore = Bytes(setup), keptBefore = Bytes(kept);
    disk.FillButOneBlock();
    Start({true});
    dlg->ShowSetup({{"am", {{"waveform", std::string(6000, 'w')}}}});
    EXPECT_FALSE(dlg->SaveSetupTo(setup));
    dlg->EndDialog(IDCANCEL);
    EXPECT_EQ(Bytes(setup), setupBefore);
    EXPECT_EQ(Bytes(kept), keptBefore);
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& [message, file] : {std::pair{messages[0], setup}, {messages[1], kept}}) {
        EXPECT_THAT(message.text, HasSubstr(file + "\""));
        EXPECT_THAT(message.text, HasSubstr("No space left on device; the file is as it was."));
    }
}

// A setup saved by the panel and sent by valdrix-cli, page by page, on a file link; and the
// log's "Copy as valdrix-cli command", run by a shell, gives the same lines.
TEST_F(MainDialogTest, ASavedSetupSentByValdrixCliPutsTheSameBytesOnTheWire) {
    Start();
    dlg->ShowSetup({{"continuous", {{"mode", "output"}, {"freq", " 4321.5"}, {"waveform", "SQU'are"}}},
                    {"burst", {{"cycles", "+7"}}}});
    ASSERT_TRUE(dlg->SaveSetupTo(File("b.valdrix")));
    for (int tab = 0; tab < kPageCount; ++tab) {
        ClickTab(tab);
        timeline->events.clear();
        Click(kValidate);
        const std::string wire = File(QString("wire%1").arg(tab)), page = dlg->ShownSetup()[tab].name;
        std::stringstream in, out, err;
        EXPECT_EQ(RunCli({"--setup", File("b.valdrix"), page, "--link", "file:" + wire}, in, out, err), 0);
        EXPECT_EQ(Bytes(wire), fmt::format("{}", fmt::join(Frames(), ""))) << err.str();
        QProcess shell;
        shell.start("sh", {"-c", QString::fromStdString(dlg->CommandOfShownPage() + " --dry-run")
                                     .replace(0, 11, VALDRIX_CLI_PROGRAM)});
        EXPECT_TRUE(shell.waitForFinished(30000));
        EXPECT_EQ(shell.readAllStandardOutput().toStdString(), Bytes(wire)) << page;
    }
}

// The console sends through the same sender and gate as the pages, and keeps what it sent.
TEST_F(MainDialogTest, TheConsoleRecallsRefusesAndWaitsForASend) {
    Start();
    for (const char* line : {"*SAV 1", "*RCL 1", "AB\x01"}) Enter(line);
    Enter(std::string(1023, 'A'));
    EXPECT_EQ(Frames(), FramesOf({"*SAV 1", "*RCL 1"})) << "a refused line writes nothing";
    EXPECT_EQ(LogText(), "*RCL 1") << "and leaves the log as the last send left it";
    CWnd(dlg->GetDlgItem(IDC_CONSOLE)).SetWindowText("*TYPED");
    std::vector<std::string> recalled;
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(dlg->GetDlgItem(IDC_CONSOLE), key);
        recalled.push_back(CWnd(dlg->GetDlgItem(IDC_CONSOLE)).GetWindowText());
    }
    EXPECT_EQ(recalled, (std::vector<std::string>{"*RCL 1", "*SAV 1", "*SAV 1", "*RCL 1", "*TYPED"}));
    ClickTab(6);
    PressingClock pressing;
    pressing.press = [this] { Enter("*TRG"); };
    Click(kValidate);
    InstallPauseClock(pressing.clock);
    EXPECT_EQ(Frames().back(), Frame("*TRG")) << "after the whole sweep";
}

}  // namespace
