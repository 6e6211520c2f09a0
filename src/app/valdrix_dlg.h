#pragma once

#include <QIcon>
#include <array>

#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/tab_ctrl.h"
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

// The main dialog: the instrument link, the eight tab pages, Validate / Reset / Local and the
// log of what was last sent.
class CValdrixDlg : public CDialog {
public:
    CValdrixDlg();

    bool OnInitDialog() override;
    void OnSysCommand(unsigned id, long param) override;
    void OnSelchangeTab();
    void OnValidate();
    void OnReset();
    void OnLocal();

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
    void CreatePages();
    void PlacePages();
    void ShowOnly(const CommandPage* visible);
    // Reopens the instrument, silently, when it is not open; says so when that fails too.
    bool InstrumentReady();
    void SendOneCommand(const CString& command);
    // Pages in the order their windows are made, placed and shown.
    std::array<CommandPage*, kPageCount> PagesInCreationOrder();

    // Set when the time-outs could not be set at start-up: that state is never retried.
    bool m_bTimeoutFailed = false;
};
