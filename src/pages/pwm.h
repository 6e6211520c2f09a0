#pragma once

#include "pages/field_page.h"
#include "pages/model/pwm.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The PWM page: state, modulating waveform and frequency, duty cycle.
class CPWM : public FieldPage<valdrix::model::PwmSettings> {
public:
    CPWM() : FieldPage(IDD_PWM, valdrix::model::PwmPage()) {}
};

}  // namespace valdrix::gui
