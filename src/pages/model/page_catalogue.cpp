#include "pages/model/page_catalogue.h"

#include <algorithm>

#include "link/command_line.h"
#include "pages/model/am.h"
#include "pages/model/burst.h"
#include "pages/model/continuous.h"
#include "pages/model/fm.h"
#include "pages/model/fsk.h"
#include "pages/model/pm.h"
#include "pages/model/pwm.h"
#include "pages/model/sweep.h"

namespace valdrix::model {

namespace {

// What a page is beyond its model.
struct PageLook {
    std::string tabLabel;
    bool burstOnce = false;
    bool commandPreview = false;
    std::vector<FieldTexts> variants = {};
};

// The settings the texts make from the page's defaults; each text is one the page takes.
template <typename Settings>
Settings SettingsOf(const PageModel<Settings>& model, const FieldTexts& texts) {
    Settings settings{};
    for (const auto& field : model.fields) {
        if (const std::string* text = FindText(texts, field.option)) {
            TakeFieldText(field, settings, *text);
        }
    }
    return settings;
}

template <typename Settings>
FieldTexts TextsOf(const PageModel<Settings>& model, const Settings& settings) {
    FieldTexts texts;
    for (const auto& field : model.fields)
        texts.emplace_back(field.option, FieldText(field, settings));
    return texts;
}

// The page's entry: its model's fields and sequence reached through texts.
template <typename Settings>
CataloguePage Entry(const PageModel<Settings>& model, PageLook look) {
    CataloguePage page{
        model.name,
        std::move(look.tabLabel),
        model.summary,
        {},
        model.lineEnds,
        look.burstOnce,
        look.commandPreview,
        std::move(look.variants),
        [&model](const FieldTexts& texts) { return model.sequence(SettingsOf(model, texts)); },
        [&model](const FieldTexts& texts) { return TextsOf(model, SettingsOf(model, texts)); }};
    for (const auto& field : model.fields) {
        page.fields.push_back({static_cast<const FieldRule&>(field), FieldText(field, Settings{})});
    }
    return page;
}

// The output mode writes a line of its own for SQUare and for RAMP.
std::vector<FieldTexts> ContinuousVariants() {
    std::vector<FieldTexts> variants;
    for (const char* waveform : {"SINusoid", "SQUare", "RAMP"}) {
        variants.push_back({{kModeOption, kOutputMode}, {"waveform", waveform}});
    }
    return variants;
}

}  // namespace

const std::vector<CataloguePage>& PageCatalogue() {
    // clang-format off
    static const std::vector<CataloguePage> pages = {
        Entry(ContinuousPage(), {"Continous",   false, true, ContinuousVariants()}),
        Entry(FmPage(),         {"   FM  "}),
        Entry(AmPage(),         {"  AM  "}),
        Entry(PmPage(),         {"  PM  "}),
        Entry(PwmPage(),        {"  PWM  "}),
        Entry(FskPage(),        {"  FSK  "}),
        Entry(SweepPage(),      {"  Sweep  ",   true}),
        Entry(BurstPage(),      {"  Burst  ",   true}),
    };
    // clang-format on
    return pages;
}

const CataloguePage* FindPage(std::string_view name) {
    const auto& pages = PageCatalogue();
    const auto found = std::find_if(pages.begin(), pages.end(), [name](const CataloguePage& page) {
        return page.name == name;
    });
    return found == pages.end() ? nullptr : &*found;
}

FieldTexts DefaultTexts(const CataloguePage& page) {
    FieldTexts texts;
    for (const FieldRow& field : page.fields) texts.emplace_back(field.option, field.defaultText);
    return texts;
}

std::optional<FieldRefusal> FirstRefusal(const CataloguePage& page, const FieldTexts& texts) {
    for (const FieldRow& field : page.fields) {
        const std::string* text = FindText(texts, field.option);
        if (text == nullptr) continue;
        if (auto reason = FieldTextRefusal(field, *text))
            return FieldRefusal{field.option, *text, *reason};
    }
    return std::nullopt;
}

std::string RefusalText(const FieldRefusal& refusal) {
    return refusal.option + " \"" + valdrix::link::PrintableText(refusal.text) +
           "\": " + refusal.reason;
}

}  // namespace valdrix::model
