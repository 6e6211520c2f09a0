#include "app/valdrix_dlg.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "app/session_script.h"
#include "cli/cli_run.h"
#include "framework/screen_fit.h"
#include "framework/template_builder.h"
#include "res/resource_ids.h"
#include "support/panel_fixture.h"

using namespace valdrix::gui;

using namespace valdrix::cli;
using namespace valdrix::link;

using namespace valdrix::model;

namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::StartsWith;

constexpr int kValidate = 1003;
constexpr int kReset = 1004;
constexpr int kLocal = 1005;
constexpr int kLog = 1006;
constexpr int kBurstOnce = 1047;
const LinkChoice kFileLink{LinkChoice::Kind::File, 0, "/dev/instrument"};
const std::string kLink = "file /dev/instrument: ";
const std::string kDirectLine = "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc";

// The real main dialog on the offscreen platform, shown and active, with the recorder behind
// the link and every write counted as the program counts it.
class MainDialogTest : public PanelFixture {
protected:
    void Start(PanelStart start = {}) {
        qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
        dlg = std::make_unique<CValdrixDlg>(instrument, kFileLink, start);
        dlg->Create(IDD_VALDRIX_DIALOG, nullptr);
        dlg->GetSafeHwnd()->show();
        dlg->GetSafeHwnd()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg->GetSafeHwnd()));
    }

    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(dlg->GetDlgItem(id)); }
    // Each press waits until its send, and any it queued behind, is over.
    void Click(int id) {
        QTest::mouseClick(Button(id), Qt::LeftButton);
        WaitForSends();
    }
    void Click(int id, const CDialog& page) {
        QTest::mouseClick(qobject_cast<QPushButton*>(page.GetDlgItem(id)), Qt::LeftButton);
        WaitForSends();
    }
    void ClickTab(int tab) {
        QTest::mouseClick(dlg->m_tab.Bar(), Qt::LeftButton, {},
                          dlg->m_tab.Bar()->tabRect(tab).center());
        WaitForSends();
    }
    void WaitForSends() const {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg->Sending(); }));
    }
    std::string LogText() const { return CWnd(dlg->GetDlgItem(kLog)).GetWindowText(); }
    // The whole status, as assistive technology and the tooltip have it; the line itself is
    // one line at the window's font, its end cut off when it does not fit.
    std::string Status() const {
        const auto* line = qobject_cast<QLabel*>(dlg->GetDlgItem(IDC_LINK_STATUS));
        const QString whole = line->accessibleDescription();
        EXPECT_EQ(line->toolTip(), whole);
        EXPECT_EQ(line->font(), dlg->GetSafeHwnd()->font());
        EXPECT_EQ(line->text(),
                  QFontMetrics(line->font()).elidedText(whole, Qt::ElideRight, line->width()));
        return whole.toStdString();
    }
    // The page whose window the operator sees; the tab row must show its tab.
    const CommandPage* VisiblePage() {
        const CommandPage* selected = dlg->m_pages.PageOfTab(dlg->m_tab.GetCurSel());
        for (int tab = 0; tab < dlg->m_pages.Count(); ++tab) {
            EXPECT_EQ(dlg->m_pages.PageOfTab(tab)->IsWindowVisible(),
                      dlg->m_pages.PageOfTab(tab) == selected);
        }
        return selected;
    }

    void Enter(const std::string& line) {
        CWnd(dlg->GetDlgItem(IDC_CONSOLE)).SetWindowText(line);
        QTest::keyClick(dlg->GetDlgItem(IDC_CONSOLE), Qt::Key_Return);
        WaitForSends();
    }
    std::string File(const QString& name) const {
        return (config.path() + "/" + name).toStdString();
    }
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
    const std::string firstLine[] = {kDirectLine,      "FM:STATe ON",   "AM:STATe ON",
                                     "PM:STATe ON",    "PWM:STATe ON",  "FSKey:STATe ON",
                                     "SWEep:STATe ON", "BURSt:STATe ON"};
    for (int tab = 0; tab < dlg->m_pages.Count(); ++tab) {
        ClickTab(tab);
        EXPECT_EQ(VisiblePage(), dlg->m_pages.PageOfTab(tab));
        timeline->events.clear();
        Click(kValidate);
        EXPECT_EQ(Frames().front(), Frame(firstLine[tab])) << "tab " << tab;
    }
    EXPECT_TRUE(messages.empty());
}

// A refused change of page leaves the tab of the page in view selected, so that Validate never
// sends a page the operator cannot see once the instrument is there.
// A file link names its reason and no chip; the box points to the simulated instrument.
TEST_F(MainDialogTest, WithoutTheInstrumentEveryActionIsRefusedWithTheReason) {
    script->openFails = true;
    Start();
    const std::string reason = "no instrument is attached.";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].text,
                AllOf(StartsWith("No instrument is attached.\n\n"),
                      HasSubstr("choose \"Simulated instrument\""), Not(HasSubstr("CH372"))));
    EXPECT_EQ(Status(), kLink + "not connected: " + reason + " Nothing sent yet.");
    messages.clear();
    ClickTab(2);
    QTest::keyClick(dlg->GetDlgItem(kLog), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(VisiblePage(), dlg->m_pages.PageOfTab(0));
    for (const int button : {kValidate, kReset, kLocal}) Click(button);
    const ShownMessage notOpen{"Please first open the file /dev/instrument\n\n" + reason, "ERROR"};
    EXPECT_EQ(messages, std::vector<ShownMessage>(5, notOpen));
    EXPECT_EQ(script->writes, 0);

    script->openFails = false;
    Click(kValidate);
    EXPECT_EQ(Frames(), FramesOf({kDirectLine}));
    EXPECT_EQ(Status(),
              kLink + "connected. Last send: " + kDirectLine + " reached the instrument.");

    // Burst Once is refused like the buttons, and the status line tells its trigger.
    ClickTab(7);
    instrument.Close();
    script->openFails = true;
    messages.clear();
    Click(kBurstOnce, *dlg->m_pages.PageOfTab(7));
    EXPECT_EQ(messages, std::vector<ShownMessage>{notOpen});
    script->openFails = false;
    Click(kBurstOnce, *dlg->m_pages.PageOfTab(7));
    EXPECT_EQ(Frames().back(), Frame("*TRG"));
    EXPECT_EQ(Status(), kLink + "connected. Last send: *TRG reached the instrument.");
    EXPECT_EQ(LogText(), kDirectLine);
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
    EXPECT_EQ(Status(), kLink + "connected. Last send: *SYSTem:LOCal reached the instrument.");
    script->failWrite = script->writes + 1;
    Click(kReset);
    EXPECT_THAT(Status(), EndsWith("Last send: \"*RST\" did not reach the instrument (the "
                                   "instrument was unplugged); no line of this send reached the "
                                   "instrument."));
}

// A cut-short line is the one the status line names; the line end owed for it is no line.
TEST_F(MainDialogTest, TheStatusLineNamesTheCutLineAndCountsCommandLinesOnly) {
    Start();
    script->failAllWrites = true;
    script->shortBy = 3;
    Click(kReset);
    EXPECT_THAT(Status(),
                HasSubstr("Last send: \"*RST\" did not reach the instrument (only 2 of 5 "
                          "bytes reached the instrument); no line of this send reached the "
                          "instrument."));
    script->failAllWrites = false;
    Click(kReset);
    EXPECT_EQ(Frames(), (std::vector<std::string>{"*R", "\n", "*RST\n"}));
    EXPECT_EQ(Status(), kLink + "connected. Last send: *RST reached the instrument.");
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

// A clock whose first pause stands still until the test lets it go: the send waits between two
// lines, on the sender's worker, while the window goes on.
struct HoldingClock : PauseClock {
    void Sleep(unsigned milliseconds) override {
        clock->Sleep(milliseconds);
        std::unique_lock lock(mutex);
        if (!holding) return;
        held = true;
        changed.notify_all();
        changed.wait(lock, [this] { return !holding; });
    }
    void WaitUntilHeld() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return held; });
    }
    void Release() {
        const std::lock_guard lock(mutex);
        holding = false;
        changed.notify_all();
    }
    ~HoldingClock() { InstallPauseClock(clock); }
    PauseClock* clock = InstallPauseClock(this);
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = true;
    bool held = false;
};

// While a pause holds the send, the window paints, its timers fire and the status line shows the
// send; presses made meanwhile run whole after it, in their order.
TEST_F(MainDialogTest, PressesDuringASendRunWholeAfterItInTheirOrder) {
    Start();
    ClickTab(6);
    Click(kValidate);
    std::vector<std::string> expected = Frames();
    expected.insert(expected.end(), {Frame("*TRG"), Frame("*RST")});
    timeline->events.clear();
    HoldingClock holding;
    QTest::mouseClick(Button(kValidate), Qt::LeftButton);
    holding.WaitUntilHeld();
    bool timerFired = false;
    QTimer::singleShot(0, dlg.get(), [&timerFired] { timerFired = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerFired && Status().starts_with("Sending"); }));
    qobject_cast<QPushButton*>(dlg->m_pages.PageOfTab(6)->GetDlgItem(kBurstOnce))->click();
    QTest::mouseClick(dlg->m_tab.Bar(), Qt::LeftButton, {}, dlg->m_tab.Bar()->tabRect(2).center());
    Button(kReset)->click();
    EXPECT_THAT(Status(), MatchesRegex("Sending line [1-6] of 6: [A-Z].*; 3 more presses waiting"));
    holding.Release();
    WaitForSends();
    EXPECT_EQ(Frames(), expected);
    EXPECT_EQ(VisiblePage(), dlg->m_pages.PageOfTab(2));
    EXPECT_EQ(LogText(), "*RST");
}

// Closing the window while a pause holds the send waits for the send's last line.
TEST_F(MainDialogTest, ClosingWaitsForTheSendInProgress) {
    Start();
    ClickTab(6);
    Click(kValidate);
    const std::vector<std::string> whole = Frames();
    timeline->events.clear();
    HoldingClock holding;
    QTest::mouseClick(Button(kValidate), Qt::LeftButton);
    holding.WaitUntilHeld();
    std::thread release([&holding] { holding.Release(); });
    dlg.reset();
    release.join();
    EXPECT_EQ(Frames(), whole);
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
    EXPECT_EQ(VisiblePage(), dlg->m_pages.PageOfTab(0));
    const std::pair<Qt::Key, const CommandPage*> steps[] = {
        {Qt::Key_Tab, dlg->m_pages.PageOfTab(1)},
        {Qt::Key_PageDown, dlg->m_pages.PageOfTab(2)},
        {Qt::Key_Backtab, dlg->m_pages.PageOfTab(1)},
        {Qt::Key_PageUp, dlg->m_pages.PageOfTab(0)},
        {Qt::Key_PageUp, dlg->m_pages.PageOfTab(7)}};
    for (const auto& [key, page] : steps) {
        auto* field = VisiblePage()->GetSafeHwnd()->findChild<QLineEdit*>();
        field->setFocus();
        QTest::keyClick(
            field, key,
            key == Qt::Key_Backtab ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        EXPECT_EQ(VisiblePage(), page);
        EXPECT_TRUE(page->GetSafeHwnd()->isAncestorOf(QApplication::focusWidget()))
            << "the focus is on the new page's fields";
    }
    EXPECT_TRUE(messages.empty());
}

// Texts typed as they stand, numbers that do not parse included.
const std::string kAwkward[] = {"a b",    "x=y;z",  "\"q\" 'q'", "Größe µs",   "",
                                " ends ", "4321.0", "#[x]",      " C:\\new\\ "};

TEST_F(MainDialogTest, FieldsTabAndConsoleComeBackAtTheNextStartAndFromASetup) {
    Start({true});
    valdrix::model::Setup typed =
        CValdrixDlg(instrument).ShownSetup();  // gtest has a Setup of its own
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
    EXPECT_EQ(VisiblePage(), dlg->m_pages.PageOfTab(2));
    EXPECT_EQ(dlg->ConsoleHistory(), std::vector<std::string>{"*SAV 1"});
    EXPECT_EQ(Frames(), FramesOf({"*SAV 1"})) << "nothing is sent at start";
    ASSERT_TRUE(dlg->SaveSetupTo(File("a.valdrix")));
    dlg->OnRestoreDefaults();
    EXPECT_EQ(dlg->ShownSetup(), CValdrixDlg(instrument).ShownSetup());
    dlg->OpenSetupFrom(File("a.valdrix"));
    EXPECT_EQ(dlg->ShownSetup(), typed);
}

// Whatever is wrong with the kept fields, the pages show their defaults, the file is named and
// it is left as it was, for the operator to mend.
TEST_F(MainDialogTest, AFileThatCannotBeTakenIsNamedAndLeftAsItIs) {
    const std::string kept = File("valdrix/valdrix.conf"),
                      valid = "[am]\nstate=OFF\n[setup]\nformat=1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"(unreadable)", "it is a directory"},
        {valid.substr(0, 13), "it has no format version"},
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
        EXPECT_EQ(dlg->ShownSetup(), CValdrixDlg(instrument).ShownSetup()) << why;
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
    dlg->ShowSetup(
        {{"continuous", {{"mode", "output"}, {"freq", " 4321.5"}, {"waveform", "SQU'are"}}},
         {"burst", {{"cycles", "+7"}}}});
    ASSERT_TRUE(dlg->SaveSetupTo(File("b.valdrix")));
    for (int tab = 0; tab < dlg->m_pages.Count(); ++tab) {
        ClickTab(tab);
        timeline->events.clear();
        Click(kValidate);
        const std::string wire = File(QString("wire%1").arg(tab)),
                          page = dlg->ShownSetup()[tab].name;
        std::stringstream in, out, err;
        EXPECT_EQ(
            RunCli({"--setup", File("b.valdrix"), page, "--link", "file:" + wire}, in, out, err),
            0);
        EXPECT_EQ(Bytes(wire), fmt::format("{}", fmt::join(Frames(), ""))) << err.str();
        QProcess shell;
        shell.start("sh", {"-c", QString::fromStdString(dlg->CommandOfShownPage() + " --dry-run")
                                     .replace(0, 11, VALDRIX_CLI_PROGRAM)});
        EXPECT_TRUE(shell.waitForFinished(30000));
        EXPECT_EQ(shell.readAllStandardOutput().toStdString(), Bytes(wire)) << page;
    }
}

// A session with the instrument chosen in the window, saved as a script and run by a shell, puts
// the same bytes on the link; a refused send is left out, a failed one kept as a comment.
TEST_F(MainDialogTest, TheSessionSavedAsAScriptRepeatsItsBytes) {
    script->openFails = true;
    Start();
    dlg->ChooseLink({LinkChoice::Kind::Simulated, 0, {}});
    EXPECT_EQ(Status(), "simulated instrument: connected. Nothing sent yet.");
    const std::string wire = File("wire.bin");
    dlg->ChooseLink({LinkChoice::Kind::File, 0, wire});
    ClickTab(6);
    Click(kValidate);
    Click(kBurstOnce, *dlg->m_pages.PageOfTab(6));
    Click(kReset);
    Enter("-x 'y'");
    Enter("AB\x01");
    dlg->ShowSetup({{"continuous", {{"freq", "-1"}}}});
    ClickTab(0);
    Click(kValidate);
    Click(kLocal);
    const std::string session = Bytes(wire);
    ASSERT_TRUE(dlg->SaveSessionScriptTo(File("session.sh")));
    QFile::remove(QString::fromStdString(wire));
    QDir(config.path()).mkdir("bin");
    QFile::link(VALDRIX_CLI_PROGRAM, config.path() + "/bin/valdrix-cli");
    QProcess shell;
    shell.setEnvironment({"PATH=" + config.path() + "/bin:/usr/bin:/bin"});
    shell.start(QString::fromStdString(File("session.sh")), {});
    EXPECT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(Bytes(wire), session);
    EXPECT_EQ(std::count(session.begin(), session.end(), '\n'), 10)
        << "6 + *TRG, *RST, the raw line, Local";

    SessionScript failed;
    failed.Add("valdrix-cli reset", "the instrument\nwas unplugged");
    EXPECT_THAT(failed.Text(), EndsWith("\nset -e\n# This send did not reach the instrument (the "
                                        "instrument was unplugged):\n# valdrix-cli reset\n"));
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
    EXPECT_EQ(recalled,
              (std::vector<std::string>{"*RCL 1", "*SAV 1", "*SAV 1", "*RCL 1", "*TYPED"}));
    // Esc throws a typed line away; in an empty console it closes the window.
    CWnd(dlg->GetDlgItem(IDC_CONSOLE)).SetWindowText("*CLS");
    QTest::keyClick(dlg->GetDlgItem(IDC_CONSOLE), Qt::Key_Escape);
    EXPECT_EQ(CWnd(dlg->GetDlgItem(IDC_CONSOLE)).GetWindowText(), "");
    EXPECT_TRUE(dlg->GetSafeHwnd()->isVisible());
    ClickTab(6);
    HoldingClock holding;
    QTest::mouseClick(Button(kValidate), Qt::LeftButton);
    holding.WaitUntilHeld();
    CWnd(dlg->GetDlgItem(IDC_CONSOLE)).SetWindowText("*TRG");
    QTest::keyClick(dlg->GetDlgItem(IDC_CONSOLE), Qt::Key_Return);
    holding.Release();
    WaitForSends();
    EXPECT_EQ(Frames().back(), Frame("*TRG")) << "after the whole sweep";
    QTest::keyClick(dlg->GetDlgItem(IDC_CONSOLE), Qt::Key_Escape);
    EXPECT_FALSE(dlg->GetSafeHwnd()->isVisible());
}

// The box keeps the page's own words; the status line names the field, and a character that is
// not ASCII is named as typed.
TEST_F(MainDialogTest, ARefusedFieldIsNamedInTheStatusLine) {
    Start();
    dlg->ShowSetup({{"continuous", {{"freq", "3000000"}}}});
    Click(kValidate);
    EXPECT_EQ(messages,
              (std::vector<ShownMessage>{{"Please enter a number between 0 and 2000000.", ""}}));
    EXPECT_EQ(Status(),
              kLink + "connected. Freq: not sent: Please enter a number between 0 and 2000000.");
    Enter("FREQuency 1\xC2\xB5s");
    EXPECT_THAT(messages.back().text, HasSubstr("holds \"\xC2\xB5\" (U+00B5) at position 12"));
    EXPECT_TRUE(Frames().empty());
}

// For assistive technology every field has a name of its own on its page, without the blanks
// that place the labels, unit labels belong to their fields, and number fields tell their range.
TEST_F(MainDialogTest, FieldsHaveUniqueNamesUnitsAndRangesForScreenReaders) {
    Start();
    for (int tab = 0; tab < dlg->m_pages.Count(); ++tab) {
        ClickTab(tab);
        EXPECT_EQ(dlg->m_tab.Bar()->accessibleTabName(tab),
                  dlg->m_tab.Bar()->tabText(tab).trimmed());
        QWidget* page = dlg->m_pages.PageOfTab(tab)->GetSafeHwnd();
        std::set<QString> names;
        for (QWidget* field : page->findChildren<QWidget*>()) {
            const bool isField = qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field);
            if (field->parentWidget() != page || !isField) continue;
            const QString name = field->accessibleName();
            EXPECT_FALSE(name.isEmpty());
            EXPECT_EQ(name, name.trimmed());
            EXPECT_TRUE(names.insert(name).second) << name.toStdString() << " on tab " << tab;
        }
        for (const QLabel* label : page->findChildren<QLabel*>()) {
            const bool unit = label->text() == "%" || label->text() == "deg";
            EXPECT_TRUE(!unit || label->buddy() != nullptr) << "tab " << tab;
        }
    }
    EXPECT_EQ(dlg->m_pages.PageOfTab(0)->GetDlgItem(IDC_CONT_FREQ)->accessibleDescription(),
              "0 to 2000000");
}

// The width a control needs to show its whole text; a text field scrolls its text and needs
// none. A combo box shows its items in its edit field, which must hold the longest.
int TextWidthNeeded(const QWidget& control) {
    if (const auto* combo = qobject_cast<const QComboBox*>(&control)) {
        int longest = 0;
        for (int item = 0; item < combo->count(); ++item) {
            longest =
                std::max(longest, combo->fontMetrics().horizontalAdvance(combo->itemText(item)));
        }
        // The edit field keeps 2 pixels either side of its text.
        return longest + combo->width() - combo->lineEdit()->contentsRect().width() + 4;
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        return button->fontMetrics().horizontalAdvance(button->text()) + 8;
    }
    const bool showsText =
        qobject_cast<const QLabel*>(&control) || qobject_cast<const QAbstractButton*>(&control);
    return showsText ? control.sizeHint().width() : 0;
}

// On the screen the run is given (see CMakeLists.txt: 1366 x 768 with a 40-pixel panel at
// scales 1, 1.5 and 2, and 1920 x 1080), the window fits, the buttons, log, console and status
// line lie inside it, the tab row shows every tab, every page shows all its controls in its room
// without scrolling, and every text fits its control.
TEST_F(MainDialogTest, EveryControlLiesInsideItsPageAndEveryTextFits) {
    Start();
    QWidget& window = *dlg->GetSafeHwnd();
    const QSize room =
        RoomForWindow(window.screen()->availableGeometry().size(), window.devicePixelRatioF());
    EXPECT_TRUE(window.width() <= room.width() && window.height() <= room.height())
        << window.width() << 'x' << window.height() << " in " << room.width() << 'x'
        << room.height();
    for (const int part :
         {kValidate, kReset, kLocal, kLog, int(IDC_CONSOLE), int(IDC_LINK_STATUS)}) {
        EXPECT_TRUE(window.rect().contains(dlg->GetDlgItem(part)->geometry())) << part;
    }
    const QWidget* tabs = dlg->GetDlgItem(IDC_TAB);
    EXPECT_LE(dlg->m_tab.Bar()->tabRect(dlg->m_pages.Count() - 1).right(),
              dlg->m_tab.Bar()->width())
        << "every tab in the row";
    for (int tab = 0; tab < dlg->m_pages.Count(); ++tab) {
        ClickTab(tab);
        const QWidget* room = dlg->m_pages.PageOfTab(tab)->GetSafeHwnd()->parentWidget();
        EXPECT_TRUE(tabs->rect().contains(QRect(room->mapTo(tabs, QPoint()), room->size())));
        for (QWidget* control : dlg->m_pages.PageOfTab(tab)->GetSafeHwnd()->findChildren<QWidget*>(
                 Qt::FindDirectChildrenOnly)) {
            const std::string what = "tab " + std::to_string(tab) + " control " +
                                     std::to_string(ControlId(*control)) + " " +
                                     control->accessibleName().toStdString();
            EXPECT_TRUE(room->rect().contains(control->geometry())) << what << " inside its page";
            EXPECT_LE(TextWidthNeeded(*control), control->width()) << what << " shows its text";
        }
    }
}

}  // namespace
