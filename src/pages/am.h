#pragma once

#include "pages/field_page.h"
#include "pages/model/am.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The AM page: state, modulating waveform and frequency, depth.
class CAM : public FieldPage<valdrix::model::AmSettings> {
public:
    CAM() : FieldPage(IDD_AM, valdrix::model::AmPage()) {}
};

}  // namespace valdrix::gui
