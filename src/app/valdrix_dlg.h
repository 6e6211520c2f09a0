#pragma once

#include <QIcon>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/send_gate.h"
#include "framework/tab_ctrl.h"
#include "link/link_choice.h"
#include "link/usb_watch.h"
#include "pages/burst.h"
#include "pages/continous.h"
#include "pages/fm.h"
#include "pages/am.h"
#include "pages/fsk.h"
#include "pages/pm.h"
#include "pages/pwm.h"
#include "pages/sweep.h"

inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
inline constexpr int kPageCount = 8;

// Where the pages sit inside the tab control: below the row of tabs, inside its frame.
CRect PageRectangle(const CRect& tabClient);

// The main dialog: the instrument link, the eight tab pages, Validate / Reset / Local, the log
// of what was last sent, and a status line that says how the link is.
class CValdrixDlg : public CDialog {
public:
    explicit CValdrixDlg(valdrix::link::LinkChoice link = {});

    bool OnInitDialog() override;
    void OnSysCommand(unsigned id, long param) override;
    void OnSelchangeTab();
    void OnValidate();
    void OnReset();
    void OnLocal();
    // An instrument chip was plugged in or unplugged.
    void OnUsbChange();

    // The page of a tab index, or nullptr for no selection.
    CommandPage* PageOfTab(int tab);

    bool m_bUsbOpen = false;
    CSweep m_pageSweep;
    CBurst m_pageBurst;
    CFSK m_pageFsk;
    CPWM m_pagePwm;
    CPM m_pagePm;
    CAM m_pageAm;
    CFM m_pageFm;
    CContinous m_pageContinous;
    CEdit m_editLog;
    CTabCtrl m_tab;
    CString m_strLog;
    QIcon m_hIcon;

protected:
    void MessageMap() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void AddAboutItem();
    bool OpenAtStart();
    void CreatePageWindow(CommandPage& page);
    void AddPageKeys();
    void ShowOnly(CommandPage* visible);
    // Every press that may write to the instrument runs through here, one at a time.
    void Gated(std::function<void()> action);
    // Reopens the instrument, silently, when it is not open; says why when that fails too.
    bool InstrumentReady();
    std::string WhyNotReady() const;
    void RequestTab(int tab);
    void StepTab(int step);
    void ChangeTab(int tab);
    void Validate();
    void SendOneCommand(const CString& command);
    void ShowStatus();
    std::string LinkStatusText() const;
    // The pages, in the order of their members.
    std::array<CommandPage*, kPageCount> PagesInCreationOrder();

    valdrix::link::LinkChoice m_link;
    SendGate m_sendGate;
    // Only a USB instrument can come and go while the window waits.
    std::unique_ptr<valdrix::link::UsbWatch> m_usbWatch;
    // The tab whose page the operator sees; the tab row shows it selected.
    int m_shownTab = 0;
    std::string m_lastSend;
    // Set when the time-outs could not be set at start-up: that state is never retried.
    bool m_bTimeoutFailed = false;
    std::string m_timeoutFailure;
};
