#pragma once

#include "cli/cli_command.h"
#include "pages/model/page_catalogue.h"

namespace valdrix::cli {

// A page as a command: its fields start from the page's own defaults, or from a setup file,
// each field option given replaces one of them with the rules of the page's field, and the
// page's sequence turns them into its lines, or --print-setup into a setup file.
CliCommand PageCommand(const valdrix::model::CataloguePage& page);

}  // namespace valdrix::cli
