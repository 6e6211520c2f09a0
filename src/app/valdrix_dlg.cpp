#include "app/valdrix_dlg.h"

#include <fmt/format.h>

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>

#include "app/about_dlg.h"
#include "app/instrument_menu.h"
#include "app/link_messages.h"
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
}  // namespace

CValdrixDlg::CValdrixDlg(Instrument& instrument, LinkChoice link, PanelStart start)
    : CDialog(IDD_VALDRIX_DIALOG),
      m_hIcon(LoadIconResource(IDR_MAINFRAME)),
      m_instrument(instrument),
      m_link(std::move(link)),
      m_start(start),
      m_console([this](const std::string& line) {
          m_presses.Run([this, line] { SendConsoleLine(line); });
      }),
      m_setups({[this] { return ShownSetup(); }, [this](const Setup& setup) { ShowSetup(setup); },
                [this](std::function<void()> press) { m_presses.Run(std::move(press)); }}),
      m_switcher(*this, m_tab, m_pages,
                 {[this](std::function<void()> press) { m_presses.Run(std::move(press)); },
                  [this] { return InstrumentReady(); },
                  [this](CommandPage& page) { WirePagePress(page); }}),
      m_presses(*this, instrument,
                {[this]() -> StatusLine& { return *m_statusLine; }, [this] { ShowStatus(); }}) {}

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
    m_console.Attach(*qobject_cast<QLineEdit*>(GetDlgItem(IDC_CONSOLE)));
    m_statusLine =
        std::make_unique<StatusLine>(*qobject_cast<QLabel*>(GetDlgItem(IDC_LINK_STATUS)));
    AddAboutItem();
    AddSetupItems();
    GetSafeHwnd()->setWindowIcon(m_hIcon);
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
    m_switcher.ShowPages(m_recalledTab);
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

// The link in use is closed and the chosen one opened; the choice lasts until the window closes.
void CValdrixDlg::ChooseLink(const LinkChoice& link) {
    m_presses.Run([this, link] {
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
        m_switcher.ShowPages(m_recalledTab);
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
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), GetSafeHwnd()), &QShortcut::activated,
            this, [this] { m_setups.Save(GetSafeHwnd()); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), GetSafeHwnd()), &QShortcut::activated,
            this, [this] { m_setups.Open(GetSafeHwnd()); });
}

Setup CValdrixDlg::ShownSetup() {
    Setup setup;
    m_pages.ForEach([&setup](int, const FieldPage& page) {
        setup.push_back({page.Model().name, page.ShownTexts()});
    });
    return setup;
}

void CValdrixDlg::ShowSetup(const Setup& setup) {
    std::vector<std::string> notShown;
    m_pages.ForEach([&](int, FieldPage& page) {
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
    m_console.History().Replace(recalled.memory.history);
    if (m_start.fromDefaults) return;
    ShowSetup(recalled.memory.pages);
    m_recalledTab = recalled.memory.tab;
}

void CValdrixDlg::RememberAtClose() {
    if (!m_start.remember || m_bMemoryUnreadable) return;
    const int tab = m_switcher.PagesShown() ? m_switcher.ShownTab() : m_recalledTab;
    const CommandHistory& history = m_console.History();
    if (const auto error = RememberPanel({ShownSetup(), tab, history.Entries()}, history.Added())) {
        TellAboutFile(*error);
    }
}

void CValdrixDlg::OnRestoreDefaults() {
    m_presses.Run([this] { m_pages.ForEach([](int, FieldPage& page) { page.ShowTexts({}); }); });
}

std::string CValdrixDlg::CommandOfShownPage() {
    std::string command;
    m_pages.ForEach([&](int tab, const FieldPage& page) {
        if (tab != m_switcher.ShownTab()) return;
        command = CliCommandLine(page.Model(), page.ShownTexts(), m_link);
    });
    return command;
}

// Runs after the send, when the instrument is this thread's again.
void CValdrixDlg::RecordSend(const std::string& command, SendOutcome outcome) {
    m_setups.Record(command, outcome, m_instrument.LastError());
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
            [this] { m_setups.SaveSession(GetSafeHwnd()); });
    menu->exec(log->viewport()->mapToGlobal(where));
}

void CValdrixDlg::SendConsoleLine(const std::string& line) {
    SendOneCommand(line, "raw -- " + ShellWord(line), [this, line] { m_console.Taken(line); });
}

void CValdrixDlg::WirePagePress(CommandPage& page) {
    // A page's one press, Burst Once, is a send like any other: it waits for the send that is
    // running, is refused while the instrument is not open, and goes into the session script.
    page.SetPressSender([this](CommandSequence sequence) {
        m_presses.Run([this, sequence = std::move(sequence)] {
            if (!InstrumentReady()) return;
            m_presses.Send(sequence, [this](const SendReport& report) {
                RecordSend(ValdrixCli("trigger"), report.outcome);
            });
        });
    });
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

void CValdrixDlg::OnSelchangeTab() {
    m_switcher.OnSelchangeTab();
}

void CValdrixDlg::OnValidate() {
    m_presses.Run([this] { Validate(); });
}

// Sends the page the operator sees.
void CValdrixDlg::Validate() {
    if (!InstrumentReady()) return;
    CommandPage* page = m_pages.PageOfTab(m_switcher.ShownTab());
    if (page == nullptr) {
        UpdateData(false);
        return;
    }
    const auto sequence = page->SequenceToSend();
    if (!sequence) return ShowRefusal(*page);
    // The fields as sent: the operator may type on while the send runs.
    const std::string command = CommandOfShownPage();
    m_presses.Send(*sequence, [this, page, command](const SendReport& report) {
        if (report.outcome == SendOutcome::Refused) return ShowRefusal(*page);
        page->ShowSent(report);
        RecordSend(command, report.outcome);
        m_strLog = page->m_strCommand;
        UpdateData(false);
    });
}

void CValdrixDlg::ShowRefusal(const CommandPage& page) {
    m_statusLine->NoteRefusal(page.LastRefusal());
}

void CValdrixDlg::OnReset() {
    m_presses.Run([this] { SendOneCommand(kResetCommand, "reset"); });
}

void CValdrixDlg::OnLocal() {
    m_presses.Run([this] { SendOneCommand(kLocalCommand, "local"); });
}

void CValdrixDlg::SendOneCommand(const CString& command, const std::string& cliWords,
                                 const std::function<void()>& taken) {
    if (!InstrumentReady()) return;
    m_presses.Send(SingleCommand(command), [this, cliWords, taken](const SendReport& report) {
        RecordSend(ValdrixCli(cliWords), report.outcome);
        if (report.outcome == SendOutcome::Refused) return;
        if (taken) taken();
        m_strLog = CommandText(report, LineEnds::BetweenLines);
        UpdateData(false);
    });
}

void CValdrixDlg::OnUsbChange() {
    m_presses.Run([this] {
        if (m_bTimeoutFailed) return;
        m_instrument.FollowPlugging(m_usbWatch->Location(m_link.usbIndex).has_value());
        m_bUsbOpen = m_instrument.IsOpen();
    });
}

// Runs when no send does: the instrument is this thread's.
void CValdrixDlg::ShowStatus() {
    std::string name = LinkName(m_link);
    if (m_usbWatch) {
        if (const auto location = m_usbWatch->Location(m_link.usbIndex)) {
            name += " (" + *location + ")";
        }
    }
    const bool usable = !m_bTimeoutFailed && m_instrument.IsOpen();
    m_statusLine->ShowLink(name, usable ? std::nullopt : std::optional(WhyNotReady()));
}

void CValdrixDlg::OnSysCommand(unsigned id, long param) {
    switch (id & 0xFFF0) {
        case IDM_ABOUTBOX: {
            CAboutDlg about;
            about.DoModal();
            return;
        }
        case IDM_SAVE_SETUP: m_setups.Save(GetSafeHwnd()); return;
        case IDM_OPEN_SETUP: m_setups.Open(GetSafeHwnd()); return;
        case IDM_RESTORE_DEFAULTS: OnRestoreDefaults(); return;
        default: CDialog::OnSysCommand(id, param);
    }
}

}  // namespace valdrix::gui
