#include "pages/trigger_page.h"

#include <QPushButton>

#include "pages/common_commands.h"

namespace {
constexpr int kBurstOnceButton = 1047;
}

void TriggerPage::MessageMap() {
    connect(qobject_cast<QPushButton*>(GetDlgItem(kBurstOnceButton)), &QPushButton::clicked, this,
            &TriggerPage::OnBurstOnce);
}

void TriggerPage::OnBurstOnce() { SendSingleCommand(kTriggerCommand); }
