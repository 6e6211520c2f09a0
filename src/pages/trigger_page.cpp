#include "pages/trigger_page.h"

#include <QPushButton>

#include "pages/model/common_commands.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

void TriggerPage::OnBurstOnce() {
    SendPress(valdrix::model::SingleCommand(valdrix::model::kTriggerCommand));
}

void TriggerPage::MessageMap() {
    QObject::connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_BURST_ONCE)), &QPushButton::clicked,
                     this, [this] { OnBurstOnce(); });
}

}  // namespace valdrix::gui
