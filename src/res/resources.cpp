#include "framework/resources.h"

#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "res/app_icon.h"
#include "res/product_texts.h"
#include "res/resource_ids.h"
#include "res/template_parts.h"

namespace valdrix::gui {

namespace {

[[noreturn]] void UnknownResource(const char* kind, unsigned id) {
    std::fprintf(stderr, "internal error: no %s resource %u\n", kind, id);
    std::abort();
}

// The product's own templates are made from the texts installed at the time of the lookup.
const DialogTemplate& ProductTemplate(unsigned id) {
    static std::map<unsigned, DialogTemplate> made;
    const ProductTexts& texts = InstalledProductTexts();
    made[id] = id == IDD_ABOUTBOX ? AboutTemplate(texts.aboutCaption, texts.aboutLabel)
                                  : MainDialogTemplate(texts.caption);
    return made[id];
}

const std::map<unsigned, DialogTemplate>& Pages() {
    static const std::map<unsigned, DialogTemplate> pages = [] {
        std::map<unsigned, DialogTemplate> byId;
        for (DialogTemplate& page : PageTemplates()) byId.emplace(page.id, std::move(page));
        return byId;
    }();
    return pages;
}

}  // namespace

const DialogTemplate& LoadDialogTemplate(unsigned id) {
    if (id == IDD_ABOUTBOX || id == IDD_VALDRIX_DIALOG) return ProductTemplate(id);
    const auto found = Pages().find(id);
    if (found == Pages().end()) UnknownResource("dialog", id);
    return found->second;
}

unsigned PageTemplateId(std::string_view page) {
    for (const auto& [id, pageTemplate] : Pages()) {
        if (pageTemplate.page == page) return id;
    }
    std::fprintf(stderr, "internal error: no template for the page %.*s\n",
                 static_cast<int>(page.size()), page.data());
    std::abort();
}

CString LoadStringResource(unsigned id) {
    if (id != IDS_ABOUTBOX) UnknownResource("string", id);
    return InstalledProductTexts().aboutMenuItem;
}

QIcon LoadIconResource(unsigned id) {
    if (id != IDR_MAINFRAME) UnknownResource("icon", id);
    return ApplicationIcon();
}

}  // namespace valdrix::gui
