#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"

int main(int argc, char** argv) {
    // A reader that goes away (a pipe into head, a FIFO link) makes a write fail with EPIPE,
    // which is reported like any failed write, instead of killing the program mid-send.
    std::signal(SIGPIPE, SIG_IGN);
    // A file link over its size limit fails its write (EFBIG) instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
