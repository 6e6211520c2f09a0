#include "pages/page_set.h"

#include "pages/continous.h"
#include "pages/trigger_page.h"

namespace valdrix::gui {

namespace {

// The widget the page's description asks for.
std::unique_ptr<FieldPage> MakePage(const valdrix::model::CataloguePage& page) {
    if (page.commandPreview) return std::make_unique<CContinous>(page);
    if (page.burstOnce) return std::make_unique<TriggerPage>(page);
    return std::make_unique<FieldPage>(page);
}

}  // namespace

PageSet::PageSet() {
    for (const valdrix::model::CataloguePage& page : valdrix::model::PageCatalogue()) {
        m_pages.push_back(MakePage(page));
    }
}

FieldPage* PageSet::PageOfTab(int tab) const {
    return tab >= 0 && tab < Count() ? m_pages[static_cast<std::size_t>(tab)].get() : nullptr;
}

}  // namespace valdrix::gui
