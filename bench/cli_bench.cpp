// How long `valdrix-cli --dry-run fm` takes against the floor of a compiled program printing the
// same lines, side by side in one run, each a fresh process. Target: at most 3 times the floor.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSamples = 101;

double RunMillis(const char* program, char* const arguments[]) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (std::freopen("/dev/null", "w", stdout) != nullptr) execv(program, arguments);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double millis =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? millis : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    char cli[] = VALDRIX_CLI_PROGRAM;
    char floor[] = CLI_FLOOR_PROGRAM;
    char dryRun[] = "--dry-run";
    char fm[] = "fm";
    char* const cliArguments[] = {cli, dryRun, fm, nullptr};
    char* const floorArguments[] = {floor, nullptr};
    std::vector<double> cliMs, floorMs;
    for (int i = 0; i < kSamples; ++i) {
        cliMs.push_back(RunMillis(cli, cliArguments));
        floorMs.push_back(RunMillis(floor, floorArguments));
    }
    if (*std::min_element(cliMs.begin(), cliMs.end()) < 0) {
        std::puts("valdrix-cli failed");
        return 1;
    }
    const double ratio = Median(cliMs) / Median(floorMs);
    std::printf("valdrix-cli --dry-run fm: %.2f ms, compiled floor %.2f ms: %.2fx (target <= 3x)\n",
                Median(cliMs), Median(floorMs), ratio);
    return ratio <= 3 ? 0 : 1;
}
