#pragma once

#include <functional>
#include <map>
#include <memory>

#include "app/page_viewport.h"
#include "framework/dialog.h"
#include "framework/tab_ctrl.h"
#include "pages/command_page.h"
#include "pages/page_set.h"

namespace valdrix::gui {

// Where the pages sit inside the tab control: below the row of tabs as tall as it is drawn,
// inside its frame, with a margin below them in the window's dialog units: all of it shrinks
// with the window's font.
CRect PageRectangle(const CRect& tabClient, int tabRowHeight, const DialogBaseUnits& units);

// Which page the operator sees, and the tab rules: the tab row never runs ahead of the page, and
// a change of page is a press like any other, which waits for a running send and needs the
// instrument. A page's window is made when it is first shown.
class PageSwitcher {
public:
    struct Wiring {
        // Runs a press through the dialog's one-send-at-a-time gate.
        std::function<void(std::function<void()>)> gated;
        // Reopens the instrument when it is not open; says why when that fails.
        std::function<bool()> instrumentReady;
        // A page's window was just made.
        std::function<void(CommandPage&)> pageMade;
    };
    enum class FocusAfter { Unchanged, FirstField };

    PageSwitcher(CDialog& dialog, CTabCtrl& tab, const PageSet& pages, Wiring wiring);

    // The tabs and the page of the given tab (the first when it has none), once.
    void ShowPages(int tab);
    bool PagesShown() const { return m_tab.GetItemCount() > 0; }
    // The tab whose page the operator sees; the tab row shows it selected.
    int ShownTab() const { return m_shownTab; }
    // The operator clicked a tab.
    void OnSelchangeTab();

private:
    void AddPageKeys();
    void RequestTab(int tab, FocusAfter focus = FocusAfter::Unchanged);
    void StepTab(int step);
    void ChangeTab(int tab, FocusAfter focus);
    void ShowOnly(CommandPage& visible);
    void CreatePageWindow(CommandPage& page);

    CDialog& m_dialog;
    CTabCtrl& m_tab;
    const PageSet& m_pages;
    Wiring m_wiring;
    int m_shownTab = 0;
    // Each page's room in the tab control, once its window is made.
    std::map<CommandPage*, std::unique_ptr<PageViewport>> m_viewports;
};

}  // namespace valdrix::gui
