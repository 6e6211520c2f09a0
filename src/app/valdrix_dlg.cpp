#include "app/valdrix_dlg.h"

#include <QPushButton>
#include <QTabBar>
#include <cstdio>

#include "app/about_dlg.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/resources.h"
#include "link/instrument.h"
#include "pages/model/common_commands.h"
#include "res/resource_ids.h"

using namespace valdrix::model;

namespace {

constexpr char kErrorCaption[] = "ERROR";
constexpr char kNotOpen[] = "Please first open the USB devices";

constexpr std::array<const char*, kPageCount> kTabLabels = {
    "Continous", "   FM  ", "  AM  ", "  PM  ", "  PWM  ", "  FSK  ", "  Sweep  ", "  Burst  ",
};

void ReportOpenFailure(const char* what) {
    std::fprintf(stderr, "%s: %s\n", what, InstrumentError().c_str());
}

}  // namespace

CValdrixDlg::CValdrixDlg() : CDialog(IDD_VALDRIX_DIALOG), m_hIcon(LoadIconResource(IDR_MAINFRAME)) {}

void CValdrixDlg::MessageMap() {
    connect(qobject_cast<QPushButton*>(GetDlgItem(1003)), &QPushButton::clicked, this,
            &CValdrixDlg::OnValidate);
    connect(qobject_cast<QPushButton*>(GetDlgItem(1005)), &QPushButton::clicked, this,
            &CValdrixDlg::OnLocal);
    connect(qobject_cast<QPushButton*>(GetDlgItem(1004)), &QPushButton::clicked, this,
            &CValdrixDlg::OnReset);
}

void CValdrixDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1006, m_editLog);
    DDX_Control(pDX, 1000, m_tab);
    DDX_Text(pDX, 1006, m_strLog);
}

bool CValdrixDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The tab control reports only the operator's changes of tab.
    connect(m_tab.Bar(), &QTabBar::currentChanged, this, &CValdrixDlg::OnSelchangeTab);
    AddAboutItem();
    GetSafeHwnd()->setWindowIcon(m_hIcon);

    switch (OpenInstrument(true)) {
        case OpenResult::NoDevice:
            ReportOpenFailure("cannot open the instrument");
            AfxMessageBox("Open CH372 failure", kErrorCaption);
            break;
        case OpenResult::TimeoutFailed:
            ReportOpenFailure("cannot set the instrument's time-outs");
            AfxMessageBox("Connection CH375 overtime");
            m_bTimeoutFailed = true;
            return false;
        case OpenResult::Opened: m_bUsbOpen = true; break;
    }

    for (int tab = 0; tab < kPageCount; ++tab) m_tab.InsertItem(tab, kTabLabels[tab]);
    CreatePages();
    PlacePages();
    ShowOnly(&m_pageContinous);
    m_tab.SetCurSel(0);
    GetDlgItem(1003)->setFocus();
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

void CValdrixDlg::CreatePages() {
    for (CommandPage* page : PagesInCreationOrder()) {
        page->Create(page->Template().id, GetDlgItem(1000));
    }
}

CRect PageRectangle(const CRect& tabClient) {
    CRect rect = tabClient;
    rect.top += 30;
    rect.bottom -= 20;
    rect.left += 1;
    rect.right -= 2;
    return rect;
}

// One rectangle for every page; the dialog has a fixed size, so this is done once.
void CValdrixDlg::PlacePages() {
    const CRect rect = PageRectangle(m_tab.GetClientRect());
    for (CommandPage* page : PagesInCreationOrder()) page->MoveWindow(rect, true);
}

void CValdrixDlg::ShowOnly(const CommandPage* visible) {
    for (CommandPage* page : PagesInCreationOrder()) {
        page->ShowWindow(page == visible ? SW_SHOW : SW_HIDE);
    }
}

bool CValdrixDlg::InstrumentReady() {
    if (!m_bTimeoutFailed) m_bUsbOpen = EnsureInstrumentOpen();
    if (!m_bUsbOpen) AfxMessageBox(kNotOpen, kErrorCaption);
    return m_bUsbOpen;
}

void CValdrixDlg::OnSelchangeTab() {
    if (!InstrumentReady()) return;
    if (const CommandPage* page = PageOfTab(m_tab.GetCurSel())) ShowOnly(page);
}

void CValdrixDlg::OnValidate() {
    if (!InstrumentReady()) return;
    if (CommandPage* page = PageOfTab(m_tab.GetCurSel())) {
        if (page->SendCommands() == SendOutcome::Refused) return;
        m_strLog = page->m_strCommand;
    }
    UpdateData(false);
}

void CValdrixDlg::OnReset() { SendOneCommand(kResetCommand); }

void CValdrixDlg::OnLocal() { SendOneCommand(kLocalCommand); }

void CValdrixDlg::SendOneCommand(const CString& command) {
    if (!InstrumentReady()) return;
    const SendReport report = SendSingleCommand(command);
    if (report.outcome == SendOutcome::Refused) return;
    m_strLog = CommandText(report, LineEnds::BetweenLines);
    UpdateData(false);
}

void CValdrixDlg::OnSysCommand(unsigned id, long param) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, param);
}
