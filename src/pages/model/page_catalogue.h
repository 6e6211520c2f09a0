#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/model/page_model.h"
#include "pages/model/setup_file.h"

namespace valdrix::model {

// A field as every front end knows it: its rule and the text it shows at the page's defaults.
struct FieldRow : FieldRule {
    std::string defaultText;
};

// A text a page refuses: the field, the text as given, and why.
struct FieldRefusal {
    std::string option;
    std::string text;
    std::string reason;
};

// One page as the panel, valdrix-cli, setups and the bridge know it, whatever settings it keeps:
// they reach its settings through the texts of its fields only.
struct CataloguePage {
    std::string name;      // valdrix-cli's command and the page's section in a setup file
    std::string tabLabel;  // the panel's tab, blanks included: they set the tab's width
    std::string summary;   // one line in valdrix-cli's help
    std::vector<FieldRow> fields;
    LineEnds lineEnds = LineEnds::AfterEachLine;
    bool burstOnce = false;       // the page has a "Burst Once" button
    bool commandPreview = false;  // the page shows what each mode of its radio field would send
    // Texts, over the defaults, whose sequences write lines or pauses the defaults' do not: the
    // bridge paces every line that any of these sequences pauses after.
    std::vector<FieldTexts> variants;
    // The sequence of the texts, each of them one the page takes; a field not named keeps its
    // default.
    std::function<CommandSequence(const FieldTexts&)> sequence;
    // The texts as the fields show them once taken: numbers in their own form ("1e3" is "1000").
    std::function<FieldTexts(const FieldTexts&)> shownForm;
};

// Every page, in the order of the panel's tabs.
const std::vector<CataloguePage>& PageCatalogue();
const CataloguePage* FindPage(std::string_view name);

FieldTexts DefaultTexts(const CataloguePage& page);
// The first field named in texts that the page refuses, in the order of its fields; keys the page
// does not know are left alone: a file from another version may hold them.
std::optional<FieldRefusal> FirstRefusal(const CataloguePage& page, const FieldTexts& texts);
// "freq \"abc\": Please enter a number."
std::string RefusalText(const FieldRefusal& refusal);

}  // namespace valdrix::model
