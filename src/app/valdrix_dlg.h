#pragma once

#include <QIcon>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/page_switcher.h"
#include "app/panel_console.h"
#include "app/panel_presses.h"
#include "app/panel_setups.h"
#include "app/status_line.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/tab_ctrl.h"
#include "link/instrument.h"
#include "link/link_choice.h"
#include "link/usb_watch.h"
#include "pages/model/setup_file.h"
#include "pages/page_set.h"

namespace valdrix::gui {

inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
inline constexpr unsigned IDM_SAVE_SETUP = 0x0020;
inline constexpr unsigned IDM_OPEN_SETUP = 0x0030;
inline constexpr unsigned IDM_RESTORE_DEFAULTS = 0x0040;

// Whether the fields are kept between runs, and whether this start sets the last run's aside.
struct PanelStart {
    bool remember = false;
    bool fromDefaults = false;
};

// The main dialog: the instrument link, the eight tab pages, Validate / Reset / Local, the log
// of what was last sent, and a status line that says how the link is. It wires the console, the
// setups, the page switching and the presses, each a unit of its own.
class CValdrixDlg : public CDialog {
public:
    // Drives instrument, which stays this window's while it is open, on the chosen link.
    explicit CValdrixDlg(valdrix::link::Instrument& instrument, valdrix::link::LinkChoice link = {},
                         PanelStart start = {});

    bool OnInitDialog() override;
    void OnSysCommand(unsigned id, long param) override;
    void OnSelchangeTab();
    void OnValidate();
    void OnReset();
    void OnLocal();
    // An instrument chip was plugged in or unplugged.
    void OnUsbChange();
    void OnRestoreDefaults();
    // The link in use is closed and this one opened, for as long as the window stays.
    void ChooseLink(const valdrix::link::LinkChoice& link);
    // The sends of this session as a valdrix-cli script; false when it could not be written,
    // and the operator has been told why.
    bool SaveSessionScriptTo(const std::string& path) { return m_setups.SaveSessionTo(path); }
    bool SaveSetupTo(const std::string& path) { return m_setups.SaveTo(path); }
    void OpenSetupFrom(const std::string& path) { m_setups.OpenFrom(path); }
    // Every page's fields as shown, in the order of the tabs.
    valdrix::model::Setup ShownSetup();
    // The pages the setup names take its texts; the others keep theirs.
    void ShowSetup(const valdrix::model::Setup& setup);
    // The valdrix-cli command line that sends the fields of the page in view.
    std::string CommandOfShownPage();
    // The console's lines, oldest first.
    const std::vector<std::string>& ConsoleHistory() const { return m_console.History().Entries(); }

    // Whether a press is running or holds the gate for its send; presses made meanwhile wait.
    bool Sending() const { return m_presses.Busy(); }

    bool m_bUsbOpen = false;
    // The tab pages, in the order of the tabs.
    PageSet m_pages;
    CEdit m_editLog;
    CTabCtrl m_tab;
    CString m_strLog;
    QIcon m_hIcon;

protected:
    void MessageMap() override;
    void ExtendContextMenu(QMenu& menu) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void AddAboutItem();
    void AddSetupItems();
    void RecallAtStart();
    void RememberAtClose();
    void ShowLogMenu(const QPoint& where);
    void SendConsoleLine(const std::string& line);
    bool OpenAtStart();
    // A page's own press, Burst Once, goes through the dialog's presses.
    void WirePagePress(CommandPage& page);
    void ShowRefusal(const CommandPage& page);
    // Reopens the instrument, silently, when it is not open; says why when that fails too.
    bool InstrumentReady();
    std::string WhyNotReady() const;
    void Validate();
    // One command on its own; taken runs when the sender did not refuse it.
    void SendOneCommand(const CString& command, const std::string& cliWords,
                        const std::function<void()>& taken = {});
    void RecordSend(const std::string& command, valdrix::model::SendOutcome outcome);
    // valdrix-cli with the link in use and these words.
    std::string ValdrixCli(const std::string& words) const;
    void WatchUsbWhenUsed();
    void ShowStatus();

    valdrix::link::Instrument& m_instrument;
    valdrix::link::LinkChoice m_link;
    PanelStart m_start;
    // The tab of the last run, kept when no page can be shown in this one.
    int m_recalledTab = 0;
    // Set when the kept fields could not be read: that file is left for the operator to mend.
    bool m_bMemoryUnreadable = false;
    std::unique_ptr<StatusLine> m_statusLine;
    // Only a USB instrument can come and go while the window waits.
    std::unique_ptr<valdrix::link::UsbWatch> m_usbWatch;
    // Set when the time-outs could not be set at start-up: that state is never retried.
    bool m_bTimeoutFailed = false;
    std::string m_timeoutFailure;
    PanelConsole m_console;
    PanelSetups m_setups;
    PageSwitcher m_switcher;
    // Every press that may write to the instrument runs through here, one at a time. Last, so
    // that it is destroyed first: closing the window waits for the send in progress before
    // anything the send's end would reach is gone.
    PanelPresses m_presses;
};

}  // namespace valdrix::gui
