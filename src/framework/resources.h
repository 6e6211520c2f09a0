#pragma once

#include <string_view>

#include "framework/cstring.h"
#include "framework/dialog_template.h"

class QIcon;

namespace valdrix::gui {

// The program's resources: dialog templates, strings and icons, looked up by id. An unknown id
// is a programming error and aborts.
const DialogTemplate& LoadDialogTemplate(unsigned id);
// The id of the template of the catalogue's page of that name.
unsigned PageTemplateId(std::string_view page);
CString LoadStringResource(unsigned id);
QIcon LoadIconResource(unsigned id);

}  // namespace valdrix::gui
