#include "app/valdrix_dlg.h"

#include <fmt/format.h>

#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <cctype>
#include <cstdio>

#include "app/about_dlg.h"
#include "app/instrument_menu.h"
#include "app/page_viewport.h"
#include "app/panel_memory.h"
#include "framework/data_exchange.h"
#include "framework/operator_message.h"
#include "framework/resources.h"
#include "link/instrument.h"
#include "pages/model/cli_command_line.h"
#include "pages/model/common_commands.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

using namespace valdrix::link;

using namespace valdrix::model;

namespace {

constexpr char kErrorCaption[] = "ERROR";
constexpr char kNotOpen[] = "Please first open the USB devices";
constexpr char kSimulatedHint[] =
    "To prepare and browse the pages with no instrument, choose \"Simulated instrument\" in the "
    "Instrument menu of the window's context menu (right click).";

constexpr std::array<const char*, kPageCount> kTabLabels = {
    "Continous", "   FM  ", "  AM  ", "  PM  ", "  PWM  ", "  FSK  ", "  Sweep  ", "  Burst  ",
};

// What a message says first, and then why, in the words of the README's table.
std::string WithReason(const char* what, const std::string& reason) {
    return fmt::format("{}\n\n{}.", what, reason);
}

std::string Lines(unsigned long long count) {
    return fmt::format("{} line{}", count, count == 1 ? "" : "s");
}

// What the last send did, from what the link counted before and after it; empty when it
// wrote nothing. A send of one line names it: a trigger is told apart from a reset.
std::string LastSendText(const WriteTally& before, const WriteTally& after,
                         const SendProgressSeen& progress) {
    const unsigned long long written = after.linesWritten - before.linesWritten;
    if (after.failedWrites != before.failedWrites) {
        const std::string linesBefore =
            written == 0 ? std::string("no line of this send reached the instrument")
                         : Lines(written) + " before it did";
        return fmt::format("Last send: {} did not reach the instrument ({}); {}.", after.lastFailed,
                           after.lastFailure, linesBefore);
    }
    if (written == 0) return {};
    if (written == 1 && progress.count == 1) {
        return fmt::format("Last send: {} reached the instrument.", progress.line);
    }
    return fmt::format("Last send: {} reached the instrument.", Lines(written));
}

// The chip is named on the USB link only; another link names its file and the reason, and says
// what to do about it.
std::string OpenFailureText(const Instrument& instrument, const LinkChoice& link) {
    if (link.kind == LinkChoice::Kind::Usb) {
        return fmt::format("{}\n\n{}", WithReason("Open CH372 failure", instrument.LastError()),
                           kSimulatedHint);
    }
    std::string reason = instrument.LastError();
    if (!reason.empty()) {
        reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    }
    return fmt::format("{}.\n\n{}\n\n{}", reason, instrument.Advice(), kSimulatedHint);
}

std::string NotOpenText(const LinkChoice& link) {
    return link.kind == LinkChoice::Kind::Usb ? std::string(kNotOpen)
                                              : "Please first open the " + LinkName(link);
}

// A message about a file goes to the terminal too, where a script or a bug report finds it.
void TellAboutFile(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    AfxMessageBox(text, kErrorCaption);
}

// A send that did not go through, in the box the operator knows.
void TellAboutSend(const SendReport& report) {
    if (!report.message.empty()) AfxMessageBox(report.message, kSendErrorCaption);
}

}  // namespace

CValdrixDlg::CValdrixDlg(Instrument& instrument, LinkChoice link, PanelStart start)
    : CDialog(IDD_VALDRIX_DIALOG),
      m_hIcon(LoadIconResource(IDR_MAINFRAME)),
      m_instrument(instrument),
      m_link(std::move(link)),
      m_start(start),
      m_sender(instrument) {}

void CValdrixDlg::MessageMap() {
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_VALIDATE)), &QPushButton::clicked, this,
            &CValdrixDlg::OnValidate);
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_LOCAL)), &QPushButton::clicked, this,
            &CValdrixDlg::OnLocal);
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_RESET)), &QPushButton::clicked, this,
            &CValdrixDlg::OnReset);
}

void CValdrixDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_LOG, m_editLog);
    DDX_Control(pDX, IDC_TAB, m_tab);
    DDX_Text(pDX, IDC_LOG, m_strLog);
}

bool CValdrixDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The tab control reports only the operator's changes of tab.
    connect(m_tab.Bar(), &QTabBar::currentChanged, this, &CValdrixDlg::OnSelchangeTab);
    m_statusLine =
        std::make_unique<StatusLine>(*qobject_cast<QLabel*>(GetDlgItem(IDC_LINK_STATUS)));
    AddAboutItem();
    AddSetupItems();
    GetSafeHwnd()->setWindowIcon(m_hIcon);
    GetDlgItem(IDC_CONSOLE)->installEventFilter(this);
    QWidget* log = GetDlgItem(IDC_LOG);
    log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(log, &QWidget::customContextMenuRequested, this, &CValdrixDlg::ShowLogMenu);
    if (auto* window = qobject_cast<QDialog*>(GetSafeHwnd())) {
        connect(window, &QDialog::finished, this, &CValdrixDlg::RememberAtClose);
    }
    WatchUsbWhenUsed();
    const bool opened = OpenAtStart();
    ShowStatus();
    // The fields come back even when no page can be shown, so that closing keeps them.
    RecallAtStart();
    if (!opened) return false;
    ShowPages();
    GetDlgItem(IDC_VALIDATE)->setFocus();
    return true;
}

// Only a USB instrument can come and go while the window waits.
void CValdrixDlg::WatchUsbWhenUsed() {
    if (m_link.kind != LinkChoice::Kind::Usb) {
        m_usbWatch.reset();
    } else if (!m_usbWatch) {
        m_usbWatch = std::make_unique<UsbWatch>([this] { OnUsbChange(); });
    }
}

// The tabs and the page of the last run, once: nothing is sent, so the instrument need not be
// there.
void CValdrixDlg::ShowPages() {
    if (m_tab.GetItemCount() > 0) return;
    for (int tab = 0; tab < kPageCount; ++tab) m_tab.InsertItem(tab, kTabLabels[tab]);
    AddPageKeys();
    m_shownTab = PageOfTab(m_recalledTab) != nullptr ? m_recalledTab : 0;
    ShowOnly(PageOfTab(m_shownTab));
    m_tab.SetCurSel(m_shownTab);
}

// The link in use is closed and the chosen one opened; the choice lasts until the window closes.
void CValdrixDlg::ChooseLink(const LinkChoice& link) {
    Gated([this, link] {
        m_link = link;
        m_instrument.Use(m_link);
        WatchUsbWhenUsed();
        m_bTimeoutFailed = false;
        const OpenResult opened = m_instrument.Open(false);
        m_bUsbOpen = opened == OpenResult::Opened;
        if (!m_bUsbOpen) {
            AfxMessageBox(WithReason(NotOpenText(m_link).c_str(), m_instrument.LastError()),
                          kErrorCaption);
            return;
        }
        ShowPages();
    });
}

void CValdrixDlg::ExtendContextMenu(QMenu& menu) {
    menu.addSeparator();
    AddInstrumentMenu(menu, m_link, [this](const LinkChoice& link) { ChooseLink(link); });
}

// False when the instrument opened but its time-outs could not be set: no page is made then.
bool CValdrixDlg::OpenAtStart() {
    switch (m_instrument.Open(true)) {
        case OpenResult::NoDevice:
            AfxMessageBox(OpenFailureText(m_instrument, m_link), kErrorCaption);
            return true;
        case OpenResult::TimeoutFailed:
            m_bTimeoutFailed = true;
            m_timeoutFailure = m_instrument.LastError();
            AfxMessageBox(WithReason("Connection CH375 overtime", m_timeoutFailure));
            return false;
        case OpenResult::Opened: m_bUsbOpen = true; return true;
    }
    return true;
}

void CValdrixDlg::AddAboutItem() {
    CMenu* systemMenu = GetSystemMenu(false);
    if (systemMenu == nullptr) return;
    const CString about = LoadStringResource(IDS_ABOUTBOX);
    if (about.empty()) return;
    systemMenu->AppendMenu(MF_SEPARATOR);
    systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
}

// Where the window manager owns the system menu, these sit in the window's context menu.
void CValdrixDlg::AddSetupItems() {
    CMenu* menu = GetSystemMenu(false);
    if (menu == nullptr) return;
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_SAVE_SETUP, "Save setup…\tCtrl+S");
    menu->AppendMenu(MF_STRING, IDM_OPEN_SETUP, "Open setup…\tCtrl+O");
    menu->AppendMenu(MF_STRING, IDM_RESTORE_DEFAULTS, "Restore defaults");
    const auto add = [this](QKeySequence key, void (CValdrixDlg::*handler)()) {
        auto* shortcut = new QShortcut(key, GetSafeHwnd());
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_S), &CValdrixDlg::OnSaveSetup);
    add(QKeySequence(Qt::CTRL | Qt::Key_O), &CValdrixDlg::OnOpenSetup);
}

template <typename Action>
void CValdrixDlg::ForEachPage(Action action) {
    action(0, m_pageContinous);
    action(1, m_pageFm);
    action(2, m_pageAm);
    action(3, m_pagePm);
    action(4, m_pagePwm);
    action(5, m_pageFsk);
    action(6, m_pageSweep);
    action(7, m_pageBurst);
}

Setup CValdrixDlg::ShownSetup() {
    Setup setup;
    ForEachPage([&setup](int, auto& page) {
        setup.push_back({page.Model().name, page.ShownTexts()});
    });
    return setup;
}

void CValdrixDlg::ShowSetup(const Setup& setup) {
    std::vector<std::string> notShown;
    ForEachPage([&](int, auto& page) {
        if (const FieldTexts* texts = FindSetupPage(setup, page.Model().name)) {
            for (std::string& field : page.ShowTexts(*texts)) notShown.push_back(std::move(field));
        }
    });
    if (!notShown.empty()) {
        AfxMessageBox(
            fmt::format("Not every field could be shown:\n{}.", fmt::join(notShown, ";\n")),
            kErrorCaption);
    }
}

void CValdrixDlg::RecallAtStart() {
    if (!m_start.remember) return;
    const RecalledMemory recalled = RecallPanel();
    if (!recalled.error.empty()) {
        m_bMemoryUnreadable = true;
        TellAboutFile(recalled.error +
                      " The pages show their defaults; the file is left as it is "
                      "and this run's fields are not kept in it.");
        return;
    }
    // The console's lines come back even when the pages start from their defaults.
    m_history.Replace(recalled.memory.history);
    if (m_start.fromDefaults) return;
    ShowSetup(recalled.memory.pages);
    m_recalledTab = recalled.memory.tab;
}

void CValdrixDlg::RememberAtClose() {
    if (!m_start.remember || m_bMemoryUnreadable) return;
    const int tab = m_tab.GetItemCount() > 0 ? m_shownTab : m_recalledTab;
    if (const auto error =
            RememberPanel({ShownSetup(), tab, m_history.Entries()}, m_history.Added())) {
        TellAboutFile(*error);
    }
}

void CValdrixDlg::OnSaveSetup() {
    QDir().mkpath(SetupsFolder());
    QFileDialog dialog(GetSafeHwnd(), "Save setup", SetupsFolder(), "Setups (*.valdrix)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString(kSetupSuffix).mid(1));
    if (dialog.exec() == QDialog::Accepted)
        SaveSetupTo(dialog.selectedFiles().front().toStdString());
}

bool CValdrixDlg::SaveSetupTo(const std::string& path) {
    const auto error = WriteSetupFile(path, ShownSetup());
    if (error) TellAboutFile(*error);
    return !error;
}

void CValdrixDlg::OnOpenSetup() {
    QDir().mkpath(SetupsFolder());
    const QString path = QFileDialog::getOpenFileName(GetSafeHwnd(), "Open setup", SetupsFolder(),
                                                      "Setups (*.valdrix);;All files (*)");
    if (!path.isEmpty()) OpenSetupFrom(path.toStdString());
}

// Waits for a send that is running: its end shows the fields it sent, which would hide the
// ones just opened.
void CValdrixDlg::OpenSetupFrom(const std::string& path) {
    Gated([this, path] {
        const SetupRead read = ReadSetupFile(path);
        if (!read.error.empty()) {
            TellAboutFile(read.error + " The fields are as they were.");
            return;
        }
        ShowSetup(read.setup);
    });
}

void CValdrixDlg::OnRestoreDefaults() {
    Gated([this] { ForEachPage([](int, auto& page) { page.ShowTexts({}); }); });
}

std::string CValdrixDlg::CommandOfShownPage() {
    std::string command;
    ForEachPage([&](int tab, auto& page) {
        if (tab != m_shownTab) return;
        command = CliCommandLine(page.Model(), page.ShownTexts(), m_link);
    });
    return command;
}

void CValdrixDlg::OnSaveSessionScript() {
    const QString path = QFileDialog::getSaveFileName(GetSafeHwnd(), "Save session as script",
                                                      QDir::homePath() + "/session.sh",
                                                      "Shell scripts (*.sh);;All files (*)");
    if (!path.isEmpty()) SaveSessionScriptTo(path.toStdString());
}

bool CValdrixDlg::SaveSessionScriptTo(const std::string& path) {
    const auto error = m_session.SaveTo(path);
    if (error) TellAboutFile(*error);
    return !error;
}

// A send that wrote nothing because it was refused is no part of the procedure. Runs after the
// send, when the instrument is this thread's again.
void CValdrixDlg::RecordSend(const std::string& command, SendOutcome outcome) {
    if (outcome == SendOutcome::Refused) return;
    m_session.Add(command,
                  outcome == SendOutcome::Failed ? m_instrument.LastError() : std::string());
}

std::string CValdrixDlg::ValdrixCli(const std::string& words) const {
    return "valdrix-cli" + LinkOption(m_link) + " " + words;
}

void CValdrixDlg::ShowLogMenu(const QPoint& where) {
    auto* log = qobject_cast<QPlainTextEdit*>(GetDlgItem(IDC_LOG));
    std::unique_ptr<QMenu> menu(log->createStandardContextMenu(where));
    menu->addSeparator();
    connect(menu->addAction("Copy as valdrix-cli command"), &QAction::triggered, this, [this] {
        QGuiApplication::clipboard()->setText(QString::fromStdString(CommandOfShownPage()));
    });
    connect(menu->addAction("Save session as script…"), &QAction::triggered, this,
            &CValdrixDlg::OnSaveSessionScript);
    menu->exec(log->viewport()->mapToGlobal(where));
}

// The console takes Up and Down for its history and Enter for its line: Enter never reaches the
// dialog, which would press a button. Esc throws away a typed line; in an empty console it
// closes the window, as everywhere else.
bool CValdrixDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != GetDlgItem(IDC_CONSOLE) || event->type() != QEvent::KeyPress) return false;
    auto* console = qobject_cast<QLineEdit*>(GetDlgItem(IDC_CONSOLE));
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            if (console->text().isEmpty()) return false;
            console->clear();
            return true;
        case Qt::Key_Up: RecallConsoleLine(true); return true;
        case Qt::Key_Down: RecallConsoleLine(false); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: OnConsoleEnter(); return true;
        default: return false;
    }
}

void CValdrixDlg::RecallConsoleLine(bool older) {
    auto* console = qobject_cast<QLineEdit*>(GetDlgItem(IDC_CONSOLE));
    const std::string line =
        older ? m_history.Older(console->text().toStdString()) : m_history.Newer();
    console->setText(QString::fromStdString(line));
}

void CValdrixDlg::OnConsoleEnter() {
    const std::string line =
        qobject_cast<QLineEdit*>(GetDlgItem(IDC_CONSOLE))->text().toStdString();
    if (!line.empty()) Gated([this, line] { SendConsoleLine(line); });
}

// A line the sender refuses stays in the console to be mended, and out of the history.
void CValdrixDlg::SendConsoleLine(const std::string& line) {
    if (!InstrumentReady()) return;
    Send(SingleCommand(line), [this, line](const SendReport& report) {
        RecordSend(ValdrixCli("raw -- " + ShellWord(line)), report.outcome);
        if (report.outcome == SendOutcome::Refused) return;
        m_history.Add(line);
        auto* console = qobject_cast<QLineEdit*>(GetDlgItem(IDC_CONSOLE));
        if (console->text().toStdString() == line) console->clear();
        m_strLog = CommandText(report, LineEnds::BetweenLines);
        UpdateData(false);
    });
}

std::array<CommandPage*, kPageCount> CValdrixDlg::AllPages() {
    return {&m_pageContinous, &m_pageFm,  &m_pageAm,    &m_pagePm,
            &m_pagePwm,       &m_pageFsk, &m_pageBurst, &m_pageSweep};
}

CommandPage* CValdrixDlg::PageOfTab(int tab) {
    const std::array<CommandPage*, kPageCount> byTab = {&m_pageContinous, &m_pageFm,   &m_pageAm,
                                                        &m_pagePm,        &m_pagePwm,  &m_pageFsk,
                                                        &m_pageSweep,     &m_pageBurst};
    return tab >= 0 && tab < kPageCount ? byTab[static_cast<std::size_t>(tab)] : nullptr;
}

// A page's window is made when it is first shown: most sessions use a few of the eight pages,
// and building all of them would double the time the window takes to appear.
void CValdrixDlg::CreatePageWindow(CommandPage& page) {
    if (page.GetSafeHwnd() != nullptr) return;
    // A page's one press, Burst Once, is a send like any other: it waits for the send that is
    // running, is refused while the instrument is not open, and goes into the session script.
    page.SetPressSender([this](CommandSequence sequence) {
        Gated([this, sequence = std::move(sequence)] {
            if (!InstrumentReady()) return;
            Send(sequence, [this](const SendReport& report) {
                RecordSend(ValdrixCli("trigger"), report.outcome);
            });
        });
    });
    const CRect room =
        PageRectangle(m_tab.GetClientRect(), m_tab.Bar()->sizeHint().height(), BaseUnits());
    auto viewport = std::make_unique<PageViewport>(*GetDlgItem(IDC_TAB), room);
    page.FitInto(viewport->Room());
    page.Create(page.Template().id, viewport->PageParent());
    viewport->Hold(*page.GetSafeHwnd());
    m_viewports[&page] = std::move(viewport);
}

// The keys of other tabbed windows, from any field: Ctrl+Tab and Ctrl+PgDn to the next page,
// Ctrl+Shift+Tab and Ctrl+PgUp to the one before.
void CValdrixDlg::AddPageKeys() {
    const auto add = [this](QList<QKeySequence> keys, int step) {
        auto* shortcut = new QShortcut(GetSafeHwnd());
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, [this, step] { StepTab(step); });
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        -1);
}

namespace {

// The first control of the page in the Tab order that takes the focus.
void FocusFirstField(QWidget& page) {
    for (QWidget* next = page.nextInFocusChain(); next != &page; next = next->nextInFocusChain()) {
        if (page.isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled() &&
            next->isVisibleTo(&page)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace

CRect PageRectangle(const CRect& tabClient, int tabRowHeight, const DialogBaseUnits& units) {
    constexpr int kMarginBelow = 4;
    CRect rect = tabClient;
    rect.top += tabRowHeight;
    rect.bottom -= MapDialogRect(units, 0, 0, 0, kMarginBelow).height();
    rect.left += 1;
    rect.right -= 2;
    return rect;
}

void CValdrixDlg::ShowOnly(CommandPage* visible) {
    CreatePageWindow(*visible);
    for (CommandPage* page : AllPages()) {
        if (page->GetSafeHwnd() == nullptr) continue;
        page->ShowWindow(page == visible ? SW_SHOW : SW_HIDE);
        m_viewports.at(page)->Show(page == visible);
    }
}

void CValdrixDlg::Gated(std::function<void()> action) {
    m_sendGate.Run([this, action = std::move(action)] {
        m_writesBefore = m_instrument.Writes();
        m_progress = {};
        action();
        if (!m_sendGate.Held()) PressOver();
    });
    // This press waits behind a send: the status line counts it.
    if (m_progress.count > 0) ShowProgress();
}

// The status line tells what the press did, from the writes the link counted during it.
void CValdrixDlg::PressOver() {
    const std::string lastSend = LastSendText(m_writesBefore, m_instrument.Writes(), m_progress);
    if (!lastSend.empty()) m_lastSend = lastSend;
    m_progress = {};
    ShowStatus();
}

// The press's send goes to the sender's worker and the gate stays held until it ends: the window
// goes on painting meanwhile. What the worker reports reaches this thread as queued calls, which
// the window drops if it is gone; its sender is destroyed first, waiting for the send.
void CValdrixDlg::Send(CommandSequence sequence, SendEnded ended) {
    SendListener listener;
    listener.starting = [this](std::size_t number, std::size_t count, const std::string& line) {
        QMetaObject::invokeMethod(
            this,
            [this, number, count, line] {
                m_progress = {number, count, line};
                ShowProgress();
            },
            Qt::QueuedConnection);
    };
    const auto refused = m_sender.Queue(
        std::move(sequence), std::move(listener), [this, ended](const SendReport& report) {
            QMetaObject::invokeMethod(
                this, [this, ended, report] { EndSend(report, ended); }, Qt::QueuedConnection);
        });
    if (refused) {
        TellAboutSend(*refused);
        ended(*refused);
        return;
    }
    m_sendGate.Hold();
}

void CValdrixDlg::EndSend(const SendReport& report, const SendEnded& ended) {
    TellAboutSend(report);
    ended(report);
    PressOver();
    m_sendGate.Release();
}

bool CValdrixDlg::Sending() const {
    return m_sendGate.Busy();
}

void CValdrixDlg::ShowProgress() {
    m_statusLine->Show(
        ProgressText(m_progress.number, m_progress.count, m_progress.line, m_sendGate.Waiting()));
}

bool CValdrixDlg::InstrumentReady() {
    if (!m_bTimeoutFailed) m_bUsbOpen = m_instrument.EnsureOpen();
    if (!m_bUsbOpen) {
        AfxMessageBox(WithReason(NotOpenText(m_link).c_str(), WhyNotReady()), kErrorCaption);
    }
    return m_bUsbOpen;
}

std::string CValdrixDlg::WhyNotReady() const {
    if (!m_bTimeoutFailed) return m_instrument.LastError();
    return fmt::format(
        "its time-outs could not be set at start-up ({}); unplug the instrument, "
        "plug it in and start the program again",
        m_timeoutFailure);
}

// The tab row never runs ahead of the page: it goes back to the page in view, and moves on
// with it once the change is allowed.
void CValdrixDlg::OnSelchangeTab() {
    const int wanted = m_tab.GetCurSel();
    m_tab.SetCurSel(m_shownTab);
    RequestTab(wanted);
}

void CValdrixDlg::RequestTab(int tab, FocusAfter focus) {
    Gated([this, tab, focus] { ChangeTab(tab, focus); });
}

// A change of page by the keys leaves the hands on the keys: the focus goes to the new page's
// first field rather than stay on a button five Tab presses away.
void CValdrixDlg::StepTab(int step) {
    const int count = m_tab.GetItemCount();
    if (count > 0) RequestTab((m_shownTab + step + count) % count, FocusAfter::FirstField);
}

void CValdrixDlg::ChangeTab(int tab, FocusAfter focus) {
    CommandPage* page = PageOfTab(tab);
    if (!InstrumentReady() || page == nullptr) return;
    m_tab.SetCurSel(tab);
    m_shownTab = tab;
    ShowOnly(page);
    if (focus == FocusAfter::FirstField) FocusFirstField(*page->GetSafeHwnd());
}

void CValdrixDlg::OnValidate() {
    Gated([this] { Validate(); });
}

// Sends the page the operator sees.
void CValdrixDlg::Validate() {
    if (!InstrumentReady()) return;
    CommandPage* page = PageOfTab(m_shownTab);
    if (page == nullptr) {
        UpdateData(false);
        return;
    }
    const auto sequence = page->SequenceToSend();
    if (!sequence) return ShowRefusal(*page);
    // The fields as sent: the operator may type on while the send runs.
    const std::string command = CommandOfShownPage();
    Send(*sequence, [this, page, command](const SendReport& report) {
        if (report.outcome == SendOutcome::Refused) return ShowRefusal(*page);
        page->ShowSent(report);
        RecordSend(command, report.outcome);
        m_strLog = page->m_strCommand;
        UpdateData(false);
    });
}

void CValdrixDlg::ShowRefusal(const CommandPage& page) {
    if (!page.LastRefusal().empty()) m_lastSend = page.LastRefusal();
}

void CValdrixDlg::OnReset() {
    Gated([this] { SendOneCommand(kResetCommand, "reset"); });
}

void CValdrixDlg::OnLocal() {
    Gated([this] { SendOneCommand(kLocalCommand, "local"); });
}

void CValdrixDlg::SendOneCommand(const CString& command, const std::string& cliWord) {
    if (!InstrumentReady()) return;
    Send(SingleCommand(command), [this, cliWord](const SendReport& report) {
        RecordSend(ValdrixCli(cliWord), report.outcome);
        if (report.outcome == SendOutcome::Refused) return;
        m_strLog = CommandText(report, LineEnds::BetweenLines);
        UpdateData(false);
    });
}

void CValdrixDlg::OnUsbChange() {
    Gated([this] {
        if (m_bTimeoutFailed) return;
        m_instrument.FollowPlugging(m_usbWatch->Location(m_link.usbIndex).has_value());
        m_bUsbOpen = m_instrument.IsOpen();
    });
}

void CValdrixDlg::ShowStatus() {
    m_statusLine->Show(LinkStatusText());
}

// "USB instrument 0 (bus 1, port 2): connected. Last send: 7 lines reached the instrument."
std::string CValdrixDlg::LinkStatusText() const {
    std::string name = LinkName(m_link);
    if (m_usbWatch) {
        if (const auto location = m_usbWatch->Location(m_link.usbIndex)) {
            name += " (" + *location + ")";
        }
    }
    const bool usable = !m_bTimeoutFailed && m_instrument.IsOpen();
    const std::string state =
        usable ? std::string("connected.") : fmt::format("not connected: {}.", WhyNotReady());
    return fmt::format("{}: {} {}", name, state,
                       m_lastSend.empty() ? std::string("Nothing sent yet.") : m_lastSend);
}

void CValdrixDlg::OnSysCommand(unsigned id, long param) {
    switch (id & 0xFFF0) {
        case IDM_ABOUTBOX: {
            CAboutDlg about;
            about.DoModal();
            return;
        }
        case IDM_SAVE_SETUP: OnSaveSetup(); return;
        case IDM_OPEN_SETUP: OnOpenSetup(); return;
        case IDM_RESTORE_DEFAULTS: OnRestoreDefaults(); return;
        default: CDialog::OnSysCommand(id, param);
    }
}

}  // namespace valdrix::gui
