#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "cli/cli_usage.h"

using namespace valdrix::cli;

namespace {

// A standard descriptor the caller closed (">&-") would be the number the next open() gets: the
// link's file would become standard output, and every line listed would go to the instrument
// too. /dev/null takes each closed one. Why the program cannot go on, if it cannot: a closed
// standard output cannot list what is written.
std::string FillClosedStandardDescriptors() {
    std::string refusal;
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1) continue;
        if (::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) {
            return "a closed standard descriptor could not be taken by /dev/null";
        }
        if (fd == STDOUT_FILENO) {
            refusal =
                "standard output is closed, so the lines written could not be listed; "
                "nothing was written";
        }
    }
    return refusal;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::string refusal = FillClosedStandardDescriptors(); !refusal.empty()) {
        std::fprintf(stderr, "%s: %s\n", kCliProgram, refusal.c_str());
        return kCliLinkFailed;
    }
    // A reader that goes away (a pipe into head, a FIFO link) makes a write fail with EPIPE,
    // which is reported like any failed write, instead of killing the program mid-send.
    std::signal(SIGPIPE, SIG_IGN);
    // A file link over its size limit fails its write (EFBIG) instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
