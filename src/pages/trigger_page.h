#pragma once

#include "pages/field_page.h"

namespace valdrix::gui {

// A page with a "Burst Once" button: one trigger at any time. It reads no field, makes no
// pause and leaves the command text as it was.
class TriggerPage : public FieldPage {
public:
    using FieldPage::FieldPage;

    void OnBurstOnce();

protected:
    void MessageMap() override;
};

}  // namespace valdrix::gui
