#pragma once

#include "pages/field_page.h"
#include "pages/model/pm.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The PM page: state, modulating waveform and frequency, phase deviation.
class CPM : public FieldPage<valdrix::model::PmSettings> {
public:
    CPM() : FieldPage(IDD_PM, valdrix::model::PmPage()) {}
};

}  // namespace valdrix::gui
