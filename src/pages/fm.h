#pragma once

#include "pages/field_page.h"
#include "pages/model/fm.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The FM page: state, modulating waveform and frequency, deviation.
class CFM : public FieldPage<valdrix::model::FmSettings> {
public:
    CFM() : FieldPage(IDD_FM, valdrix::model::FmPage()) {}
};

}  // namespace valdrix::gui
