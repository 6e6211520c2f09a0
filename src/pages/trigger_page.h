#pragma once

#include <QPushButton>

#include "pages/field_page.h"
#include "pages/model/common_commands.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// A page with a "Burst Once" button: one trigger at any time. It reads no field, makes no
// pause and leaves the command text as it was.
template <typename Settings>
class TriggerPage : public FieldPage<Settings> {
public:
    using FieldPage<Settings>::FieldPage;

    void OnBurstOnce() {
        this->SendPress(valdrix::model::SingleCommand(valdrix::model::kTriggerCommand));
    }

protected:
    void MessageMap() override {
        QObject::connect(qobject_cast<QPushButton*>(this->GetDlgItem(IDC_BURST_ONCE)),
                         &QPushButton::clicked, this, [this] { OnBurstOnce(); });
    }
};

}  // namespace valdrix::gui
