#pragma once

#include "pages/model/burst.h"
#include "pages/trigger_page.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The Burst page, with its Burst Once button.
class CBurst : public TriggerPage<valdrix::model::BurstSettings> {
public:
    CBurst() : TriggerPage(IDD_BURST, valdrix::model::BurstPage()) {}
};

}  // namespace valdrix::gui
