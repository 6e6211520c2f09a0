#pragma once

#include "pages/command_page.h"

// A page with a "Burst Once" button: one trigger at any time. It reads no field, makes no
// pause and leaves the command text as it was.
class TriggerPage : public CommandPage {
public:
    using CommandPage::CommandPage;

    void OnBurstOnce();

protected:
    void MessageMap() override;
};
