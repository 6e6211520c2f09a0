#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/resources.h"
#include "pages/model/page_catalogue.h"

using namespace valdrix::gui;

using namespace valdrix::model;

namespace {

ControlKind KindShowing(FieldKind kind) {
    switch (kind) {
        case FieldKind::Number:
        case FieldKind::WholeNumber: return ControlKind::Edit;
        case FieldKind::Text: return ControlKind::ComboBox;
        case FieldKind::Radio: break;
    }
    return ControlKind::RadioButton;
}

bool ShowsAField(const ControlTemplate& control) {
    return control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox ||
           control.kind == ControlKind::RadioButton;
}

// Each catalogue page and its template describe the same fields: every field has its control
// of the right kind (a combo box with the field's list, which holds the default; a radio button
// for each choice), every control the template binds is a field's, no two fields share an
// option, and the only controls left unbound are the boxes that show command text.
TEST(FieldTableTest, EveryCataloguePageMatchesItsTemplate) {
    for (const CataloguePage& page : PageCatalogue()) {
        SCOPED_TRACE(page.name);
        const DialogTemplate& pageTemplate = LoadDialogTemplate(PageTemplateId(page.name));
        std::set<std::pair<std::string, std::string>> bound;
        for (const ControlTemplate& control : pageTemplate.controls) {
            if (control.field.empty()) {
                EXPECT_TRUE(!ShowsAField(control) || (control.style & kStyleMultiLine))
                    << "control " << control.id << " shows no field";
                continue;
            }
            EXPECT_TRUE(bound.insert({control.field, control.choice}).second) << control.field;
            const FieldRow* field = FindField(page.fields, control.field);
            ASSERT_NE(field, nullptr) << control.field;
            EXPECT_EQ(control.kind, KindShowing(field->kind)) << control.field;
            if (field->kind == FieldKind::Text) {
                EXPECT_EQ(control.items, field->choices);
            }
        }
        std::set<std::string> options;
        for (const FieldRow& field : page.fields) {
            EXPECT_TRUE(options.insert(field.option).second) << field.option;
            if (!field.choices.empty()) {
                EXPECT_NE(std::find(field.choices.begin(), field.choices.end(), field.defaultText),
                          field.choices.end())
                    << field.option << " defaults to a text its list lacks";
            }
            const std::vector<std::string> buttons =
                field.kind == FieldKind::Radio ? field.choices : std::vector<std::string>{""};
            for (const std::string& choice : buttons) {
                EXPECT_EQ(bound.count({field.option, choice}), 1u) << field.option << " " << choice;
            }
        }
    }
}

}  // namespace
