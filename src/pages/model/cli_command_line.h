#pragma once

#include <string>

#include "link/link_choice.h"
#include "pages/model/page_catalogue.h"

namespace valdrix::model {

// The text as one word of a POSIX shell: as it stands when it is plain, else in single quotes.
std::string ShellWord(const std::string& text);

// The link as valdrix-cli's option, with its leading blank; nothing for USB instrument 0, the
// default of both programs.
std::string LinkOption(const valdrix::link::LinkChoice& link);

// The valdrix-cli command line that sends a page with these field texts over this link, so that
// a set-up found by hand goes straight into a script. A field that the page's mode does not send
// is left out, as valdrix-cli would refuse it.
std::string CliCommandLine(const CataloguePage& page, const FieldTexts& texts,
                           const valdrix::link::LinkChoice& link);

}  // namespace valdrix::model
