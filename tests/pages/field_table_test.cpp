#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "pages/model/am.h"
#include "pages/model/burst.h"
#include "pages/model/continuous.h"
#include "pages/model/fm.h"
#include "pages/model/fsk.h"
#include "pages/model/pm.h"
#include "pages/model/pwm.h"
#include "pages/model/sweep.h"
#include "res/resource_ids.h"
#include "res/template_parts.h"

using namespace valdrix::gui;

using namespace valdrix::model;

namespace {

const ControlTemplate* FindControl(const DialogTemplate& page, int id) {
    const auto found = std::find_if(page.controls.begin(), page.controls.end(),
                                    [id](const ControlTemplate& c) { return c.id == id; });
    return found == page.controls.end() ? nullptr : &*found;
}

ControlKind KindShowing(FieldKind kind) {
    switch (kind) {
        case FieldKind::Number:
        case FieldKind::WholeNumber: return ControlKind::Edit;
        case FieldKind::Text: return ControlKind::ComboBox;
        case FieldKind::Radio: break;
    }
    return ControlKind::RadioButton;
}

// The page's template and its field table describe the same fields: every row has its control
// of the right kind (a combo box with the row's list, which holds the default), every field
// control of the template has its row, and no two rows share an option name.
template <typename Settings>
void ExpectTableMatchesTemplate(const PageModel<Settings>& page, unsigned templateId,
                                const std::set<int>& notFields = {}) {
    SCOPED_TRACE(page.name);
    const auto templates = PageTemplates();
    const auto found = std::find_if(templates.begin(), templates.end(),
                                    [templateId](const auto& t) { return t.id == templateId; });
    ASSERT_NE(found, templates.end());
    std::set<int> rowControls;
    std::set<std::string> options;
    for (const Field<Settings>& field : page.fields) {
        EXPECT_TRUE(options.insert(field.option).second) << field.option;
        if (field.kind == FieldKind::Text || field.kind == FieldKind::Radio) {
            EXPECT_NE(
                std::find(field.choices.begin(), field.choices.end(), FieldText(field, Settings{})),
                field.choices.end())
                << field.option << " defaults to a text its list lacks";
        }
        for (int id : field.controls) {
            rowControls.insert(id);
            const ControlTemplate* control = FindControl(*found, id);
            ASSERT_NE(control, nullptr) << field.option;
            EXPECT_EQ(control->kind, KindShowing(field.kind)) << field.option;
            if (field.kind == FieldKind::Text) {
                EXPECT_EQ(control->items, field.choices) << field.option;
            }
        }
    }
    for (const ControlTemplate& control : found->controls) {
        const bool field = control.kind == ControlKind::Edit ||
                           control.kind == ControlKind::ComboBox ||
                           control.kind == ControlKind::RadioButton;
        if (field && notFields.count(control.id) == 0) {
            EXPECT_EQ(rowControls.count(control.id), 1u)
                << "control " << control.id << " has no row";
        }
    }
}

TEST(FieldTableTest, EveryPageTableMatchesItsTemplate) {
    ExpectTableMatchesTemplate(ContinuousPage(), IDD_CONTINOUS,
                               {IDC_CONT_OUTPUT_CMD, IDC_CONT_DIRECT_CMD});
    ExpectTableMatchesTemplate(FmPage(), IDD_FM);
    ExpectTableMatchesTemplate(AmPage(), IDD_AM);
    ExpectTableMatchesTemplate(PmPage(), IDD_PM);
    ExpectTableMatchesTemplate(PwmPage(), IDD_PWM);
    ExpectTableMatchesTemplate(FskPage(), IDD_FSK);
    ExpectTableMatchesTemplate(SweepPage(), IDD_SWEEP);
    ExpectTableMatchesTemplate(BurstPage(), IDD_BURST);
}

}  // namespace
