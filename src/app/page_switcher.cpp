#include "app/page_switcher.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabBar>

#include "res/resource_ids.h"

namespace valdrix::gui {

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

PageSwitcher::PageSwitcher(CDialog& dialog, CTabCtrl& tab, const PageSet& pages, Wiring wiring)
    : m_dialog(dialog), m_tab(tab), m_pages(pages), m_wiring(std::move(wiring)) {}

// Nothing is sent, so the instrument need not be there.
void PageSwitcher::ShowPages(int tab) {
    if (PagesShown()) return;
    m_pages.ForEach([this](int index, const FieldPage& page) {
        m_tab.InsertItem(index, page.Model().tabLabel);
    });
    AddPageKeys();
    m_shownTab = m_pages.PageOfTab(tab) != nullptr ? tab : 0;
    ShowOnly(*m_pages.PageOfTab(m_shownTab));
    m_tab.SetCurSel(m_shownTab);
}

// The keys of other tabbed windows, from any field: Ctrl+Tab and Ctrl+PgDn to the next page,
// Ctrl+Shift+Tab and Ctrl+PgUp to the one before.
void PageSwitcher::AddPageKeys() {
    const auto add = [this](QList<QKeySequence> keys, int step) {
        auto* shortcut = new QShortcut(m_dialog.GetSafeHwnd());
        shortcut->setKeys(keys);
        QObject::connect(shortcut, &QShortcut::activated, &m_dialog,
                         [this, step] { StepTab(step); });
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        -1);
}

// The tab row goes back to the page in view, and moves on with it once the change is allowed.
void PageSwitcher::OnSelchangeTab() {
    const int wanted = m_tab.GetCurSel();
    m_tab.SetCurSel(m_shownTab);
    RequestTab(wanted);
}

void PageSwitcher::RequestTab(int tab, FocusAfter focus) {
    m_wiring.gated([this, tab, focus] { ChangeTab(tab, focus); });
}

// A change of page by the keys leaves the hands on the keys: the focus goes to the new page's
// first field rather than stay on a button five Tab presses away.
void PageSwitcher::StepTab(int step) {
    const int count = m_tab.GetItemCount();
    if (count > 0) RequestTab((m_shownTab + step + count) % count, FocusAfter::FirstField);
}

void PageSwitcher::ChangeTab(int tab, FocusAfter focus) {
    CommandPage* page = m_pages.PageOfTab(tab);
    if (!m_wiring.instrumentReady() || page == nullptr) return;
    m_tab.SetCurSel(tab);
    m_shownTab = tab;
    ShowOnly(*page);
    if (focus == FocusAfter::FirstField) FocusFirstField(*page->GetSafeHwnd());
}

void PageSwitcher::ShowOnly(CommandPage& visible) {
    CreatePageWindow(visible);
    for (int tab = 0; tab < m_tab.GetItemCount(); ++tab) {
        CommandPage* page = m_pages.PageOfTab(tab);
        if (page->GetSafeHwnd() == nullptr) continue;
        page->ShowWindow(page == &visible ? SW_SHOW : SW_HIDE);
        m_viewports.at(page)->Show(page == &visible);
    }
}

// A page's window is made when it is first shown: most sessions use a few of the pages, and
// building all of them would double the time the window takes to appear.
void PageSwitcher::CreatePageWindow(CommandPage& page) {
    if (page.GetSafeHwnd() != nullptr) return;
    m_wiring.pageMade(page);
    const CRect room = PageRectangle(m_tab.GetClientRect(), m_tab.Bar()->sizeHint().height(),
                                     m_dialog.BaseUnits());
    auto viewport = std::make_unique<PageViewport>(*m_dialog.GetDlgItem(IDC_TAB), room);
    page.FitInto(viewport->Room());
    page.Create(page.Template().id, viewport->PageParent());
    viewport->Hold(*page.GetSafeHwnd());
    m_viewports[&page] = std::move(viewport);
}

}  // namespace valdrix::gui
