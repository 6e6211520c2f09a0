#pragma once

#include <memory>
#include <vector>

#include "pages/field_page.h"

namespace valdrix::gui {

// One page widget for each page of the catalogue, in the order of the tabs. A page's window is
// made when its owner first shows it.
class PageSet {
public:
    PageSet();

    int Count() const { return static_cast<int>(m_pages.size()); }
    // The page of a tab index, or nullptr for no selection.
    FieldPage* PageOfTab(int tab) const;

    // Calls action(tab, page) for each page, in the order of the tabs.
    template <typename Action>
    void ForEach(Action action) const {
        for (int tab = 0; tab < Count(); ++tab)
            action(tab, *m_pages[static_cast<std::size_t>(tab)]);
    }

private:
    std::vector<std::unique_ptr<FieldPage>> m_pages;
};

}  // namespace valdrix::gui
