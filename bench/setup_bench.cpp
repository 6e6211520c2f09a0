// How reading a setup grows with its keys: a file of 1,000,000 keys against one of 100,000, in
// one run. Target: linear, at most 40 times as long for 10 times the keys (memory caches make
// each key of a large file cost a little more; a reading that looked every key up among the
// ones before would take 100 times as long, and 8 s for the smaller file).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "pages/model/setup_file.h"

namespace {

constexpr int kSamples = 5;

std::string SetupOfKeys(int keys) {
    std::string text = "[continuous]\n";
    for (int key = 0; key < keys; ++key) text += "key" + std::to_string(key) + "=1\n";
    return text + "[setup]\nformat=1\n";
}

double ReadMillis(const std::string& text) {
    std::vector<double> samples;
    for (int i = 0; i < kSamples; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const auto read = valdrix::model::ParseSetup(text);
        const auto end = std::chrono::steady_clock::now();
        if (!read.error.empty()) return -1;
        samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    return *std::min_element(samples.begin(), samples.end());
}

}  // namespace

int main() {
    const double small = ReadMillis(SetupOfKeys(100000));
    const double large = ReadMillis(SetupOfKeys(1000000));
    if (small < 0 || large < 0) {
        std::puts("the setup could not be read");
        return 1;
    }
    const double ratio = large / small;
    std::printf("reading 100,000 keys: %.1f ms, 1,000,000 keys: %.1f ms: %.1fx (target <= 40x)\n",
                small, large, ratio);
    return ratio <= 40 ? 0 : 1;
}
