#pragma once

#include <string>

#include "pages/model/command_sequence.h"
#include "pages/model/field.h"

namespace valdrix::model {

// How a page joins the lines of a send into its command text.
enum class LineEnds { AfterEachLine, BetweenLines };

// Everything about a page but its widgets: its fields, and the sequence they make.
template <typename Settings>
struct PageModel {
    std::string name;     // valdrix-cli's command and the page's section in a setup file
    std::string summary;  // one line in valdrix-cli's help
    FieldTable<Settings> fields;
    CommandSequence (*sequence)(const Settings&);
    LineEnds lineEnds = LineEnds::AfterEachLine;
};

}  // namespace valdrix::model
