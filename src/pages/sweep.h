#pragma once

#include "pages/model/sweep.h"
#include "pages/trigger_page.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The Sweep page, with its Burst Once button.
class CSweep : public TriggerPage<valdrix::model::SweepSettings> {
public:
    CSweep() : TriggerPage(IDD_SWEEP, valdrix::model::SweepPage()) {}
};

}  // namespace valdrix::gui
