#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"

namespace valdrix::cli {

// The exit status: every line written; the link failed; bad usage or a refused field.
inline constexpr int kCliSent = 0;
inline constexpr int kCliLinkFailed = 1;
inline constexpr int kCliUsageError = 2;

// The whole program but main(): reads the arguments (the program's name left out), composes
// the page's lines and writes them through the link that makeBackend makes of --link. Each
// line goes to out as soon as it is written; complaints go to err; "raw -" reads its lines from
// in. Returns the exit status; a failed write to out is a failure too.
int RunCli(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
           std::ostream& err, const BackendMaker& makeBackend = valdrix::link::MakeBackend);

}  // namespace valdrix::cli
