#pragma once

#include "pages/field_page.h"
#include "pages/model/fsk.h"
#include "res/resource_ids.h"

namespace valdrix::gui {

// The FSK page: state, hop frequency, rate, keying source.
class CFSK : public FieldPage<valdrix::model::FskSettings> {
public:
    CFSK() : FieldPage(IDD_FSK, valdrix::model::FskPage()) {}
};

}  // namespace valdrix::gui
