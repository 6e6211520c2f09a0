// The emulated USB bus exists only in a process that runs with umockdev's preload library.
// Started without it (by hand, from a debugger), the test starts itself again with it; where
// the library cannot be loaded, the test exits 77, which CTest reports as skipped, rather than
// passing without having run.
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr char kPreloadLibrary[] = "libumockdev-preload.so.0";
constexpr int kSkipped = 77;

bool PreloadIsLoaded() {
    return dl_iterate_phdr(
               [](dl_phdr_info* info, std::size_t, void*) {
                   return std::strstr(info->dlpi_name, "libumockdev-preload.so") != nullptr ? 1 : 0;
               },
               nullptr) != 0;
}

std::vector<std::string> OwnArguments() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = all.find('\0', start);
        arguments.push_back(all.substr(start, end - start));
        start = end == std::string::npos ? all.size() : end + 1;
    }
    return arguments;
}

void RestartWithPreload() {
    const char* current = std::getenv("LD_PRELOAD");
    const std::string preload = current != nullptr && *current != '\0'
                                    ? std::string(kPreloadLibrary) + ":" + current
                                    : std::string(kPreloadLibrary);
    setenv("LD_PRELOAD", preload.c_str(), 1);
    std::vector<std::string> arguments = OwnArguments();
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    std::perror("cannot restart the test with umockdev's preload library");
}

bool EnsurePreloaded() {
    if (PreloadIsLoaded()) return true;
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload == nullptr || std::strstr(preload, kPreloadLibrary) == nullptr) {
        RestartWithPreload();
    }
    std::fprintf(stderr, "%s cannot be loaded (install umockdev); the USB tests are skipped\n",
                 kPreloadLibrary);
    std::_Exit(kSkipped);
}

[[maybe_unused]] const bool preloaded = EnsurePreloaded();

}  // namespace
