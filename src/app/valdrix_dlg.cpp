#include "app/valdrix_dlg.h"

#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <fmt/format.h>

#include "app/about_dlg.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/resources.h"
#include "link/instrument.h"
#include "link/link_status.h"
#include "pages/model/common_commands.h"
#include "res/resource_ids.h"

using namespace valdrix::link;

using namespace valdrix::model;

namespace {

constexpr char kErrorCaption[] = "ERROR";
constexpr char kNotOpen[] = "Please first open the USB devices";
constexpr qreal kSmallestStatusPoints = 7;

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

// A long reason takes a smaller font rather than lose its end: the window may not grow.
void ShowFitting(QLabel& label, const QString& text) {
    QFont font = label.parentWidget()->font();
    const QRect room(0, 0, label.width(), QWIDGETSIZE_MAX);
    while (font.pointSizeF() > kSmallestStatusPoints &&
           QFontMetrics(font).boundingRect(room, Qt::TextWordWrap, text).height() > label.height()) {
        font.setPointSizeF(font.pointSizeF() - 1);
    }
    label.setFont(font);
    label.setText(text);
}

// What the last send did, from what the link counted before and after it; empty when it
// wrote nothing.
std::string LastSendText(const WriteTally& before, const WriteTally& after) {
    const unsigned long long written = after.linesWritten - before.linesWritten;
    if (after.failedWrites != before.failedWrites) {
        return fmt::format("Last send: \"{}\" did not reach the instrument ({}); {} before it did.",
                           after.lastFailedLine, after.lastFailure, Lines(written));
    }
    if (written == 0) return {};
    return fmt::format("Last send: {} reached the instrument.", Lines(written));
}

}  // namespace

CValdrixDlg::CValdrixDlg(LinkChoice link)
    : CDialog(IDD_VALDRIX_DIALOG),
      m_hIcon(LoadIconResource(IDR_MAINFRAME)),
      m_link(std::move(link)) {}

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
    qobject_cast<QLabel*>(GetDlgItem(IDC_LINK_STATUS))->setWordWrap(true);
    AddAboutItem();
    GetSafeHwnd()->setWindowIcon(m_hIcon);
    if (m_link.kind == LinkChoice::Kind::Usb) {
        m_usbWatch = std::make_unique<UsbWatch>([this] { OnUsbChange(); });
    }
    const bool opened = OpenAtStart();
    ShowStatus();
    if (!opened) return false;

    for (int tab = 0; tab < kPageCount; ++tab) m_tab.InsertItem(tab, kTabLabels[tab]);
    AddPageKeys();
    ShowOnly(&m_pageContinous);
    m_tab.SetCurSel(0);
    GetDlgItem(IDC_VALIDATE)->setFocus();
    return true;
}

// False when the instrument opened but its time-outs could not be set: no page is made then.
bool CValdrixDlg::OpenAtStart() {
    switch (OpenInstrument(true)) {
        case OpenResult::NoDevice:
            AfxMessageBox(WithReason("Open CH372 failure", WhyInstrumentIsClosed()), kErrorCaption);
            return true;
        case OpenResult::TimeoutFailed:
            m_bTimeoutFailed = true;
            m_timeoutFailure = WhyInstrumentIsClosed();
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

std::array<CommandPage*, kPageCount> CValdrixDlg::PagesInCreationOrder() {
    return {&m_pageContinous, &m_pageFm, &m_pageAm,    &m_pagePm,
            &m_pagePwm,       &m_pageFsk, &m_pageBurst, &m_pageSweep};
}

CommandPage* CValdrixDlg::PageOfTab(int tab) {
    const std::array<CommandPage*, kPageCount> byTab = {
        &m_pageContinous, &m_pageFm,  &m_pageAm,    &m_pagePm,
        &m_pagePwm,       &m_pageFsk, &m_pageSweep, &m_pageBurst};
    return tab >= 0 && tab < kPageCount ? byTab[static_cast<std::size_t>(tab)] : nullptr;
}

// A page's window is made when it is first shown: most sessions use a few of the eight pages,
// and building all of them would double the time the window takes to appear.
void CValdrixDlg::CreatePageWindow(CommandPage& page) {
    if (page.GetSafeHwnd() != nullptr) return;
    // A Burst Once is a send like any other: it waits for the send that is running.
    page.SetPressRunner([this](std::function<void()> press) { Gated(std::move(press)); });
    page.Create(page.Template().id, GetDlgItem(IDC_TAB));
    page.MoveWindow(PageRectangle(m_tab.GetClientRect()), true);
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

CRect PageRectangle(const CRect& tabClient) {
    CRect rect = tabClient;
    rect.top += 30;
    rect.bottom -= 20;
    rect.left += 1;
    rect.right -= 2;
    return rect;
}

void CValdrixDlg::ShowOnly(CommandPage* visible) {
    CreatePageWindow(*visible);
    for (CommandPage* page : PagesInCreationOrder()) {
        if (page->GetSafeHwnd() != nullptr) page->ShowWindow(page == visible ? SW_SHOW : SW_HIDE);
    }
}

void CValdrixDlg::Gated(std::function<void()> action) {
    m_sendGate.Run([this, action = std::move(action)] {
        const WriteTally before = Writes();
        action();
        const std::string lastSend = LastSendText(before, Writes());
        if (!lastSend.empty()) m_lastSend = lastSend;
        ShowStatus();
    });
}

bool CValdrixDlg::InstrumentReady() {
    if (!m_bTimeoutFailed) m_bUsbOpen = EnsureInstrumentOpen();
    if (!m_bUsbOpen) AfxMessageBox(WithReason(kNotOpen, WhyNotReady()), kErrorCaption);
    return m_bUsbOpen;
}

std::string CValdrixDlg::WhyNotReady() const {
    if (!m_bTimeoutFailed) return WhyInstrumentIsClosed();
    return fmt::format("its time-outs could not be set at start-up ({}); unplug the instrument, "
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

void CValdrixDlg::RequestTab(int tab) {
    Gated([this, tab] { ChangeTab(tab); });
}

void CValdrixDlg::StepTab(int step) {
    const int count = m_tab.GetItemCount();
    if (count > 0) RequestTab((m_shownTab + step + count) % count);
}

void CValdrixDlg::ChangeTab(int tab) {
    CommandPage* page = PageOfTab(tab);
    if (!InstrumentReady() || page == nullptr) return;
    m_tab.SetCurSel(tab);
    m_shownTab = tab;
    ShowOnly(page);
}

void CValdrixDlg::OnValidate() {
    Gated([this] { Validate(); });
}

// Sends the page the operator sees.
void CValdrixDlg::Validate() {
    if (!InstrumentReady()) return;
    if (CommandPage* page = PageOfTab(m_shownTab)) {
        if (page->SendCommands() == SendOutcome::Refused) return;
        m_strLog = page->m_strCommand;
    }
    UpdateData(false);
}

void CValdrixDlg::OnReset() {
    Gated([this] { SendOneCommand(kResetCommand); });
}

void CValdrixDlg::OnLocal() {
    Gated([this] { SendOneCommand(kLocalCommand); });
}

void CValdrixDlg::SendOneCommand(const CString& command) {
    if (!InstrumentReady()) return;
    const SendReport report = SendSingleCommand(command);
    if (report.outcome == SendOutcome::Refused) return;
    m_strLog = CommandText(report, LineEnds::BetweenLines);
    UpdateData(false);
}

void CValdrixDlg::OnUsbChange() {
    Gated([this] {
        if (m_bTimeoutFailed) return;
        FollowPlugging(m_usbWatch->Location(m_link.usbIndex).has_value());
        m_bUsbOpen = InstrumentIsOpen();
    });
}

void CValdrixDlg::ShowStatus() {
    auto* line = qobject_cast<QLabel*>(GetDlgItem(IDC_LINK_STATUS));
    const QString text = QString::fromStdString(LinkStatusText());
    ShowFitting(*line, text);
    // A label named for what it is shows its text to assistive technology as its description.
    line->setAccessibleDescription(text);
}

// "USB instrument 0 (bus 1, port 2): connected. Last send: 7 lines reached the instrument."
std::string CValdrixDlg::LinkStatusText() const {
    std::string name = LinkName(m_link);
    if (m_usbWatch) {
        if (const auto location = m_usbWatch->Location(m_link.usbIndex)) {
            name += " (" + *location + ")";
        }
    }
    const bool usable = !m_bTimeoutFailed && InstrumentIsOpen();
    const std::string state =
        usable ? std::string("connected.") : fmt::format("not connected: {}.", WhyNotReady());
    return fmt::format("{}: {} {}", name, state,
                       m_lastSend.empty() ? std::string("Nothing sent yet.") : m_lastSend);
}

void CValdrixDlg::OnSysCommand(unsigned id, long param) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, param);
}
