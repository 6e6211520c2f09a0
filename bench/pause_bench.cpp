// How closely a real send keeps to its pauses: over repeated sends of a nine-line sequence to
// the file link, the overhead of each send beyond its pauses, and each pause's error.
// Targets: no pause shorter than asked, median pause error under 2 ms, overhead under 5 ms.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "framework/message_box.h"
#include "framework/pause.h"
#include "link/ch375.h"
#include "link/file_backend.h"
#include "link/instrument.h"
#include "pages/command_sender.h"
#include "pages/continous.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

// Times each real pause by stepping aside while it runs.
class MeasuringClock : public PauseClock {
public:
    void Sleep(unsigned milliseconds) override {
        InstallPauseClock(nullptr);
        const auto start = Clock::now();
        Pause(milliseconds);
        errors.push_back(Millis(Clock::now() - start).count() - milliseconds);
        InstallPauseClock(this);
        asked += milliseconds;
    }
    std::vector<double> errors;
    double asked = 0;
};

struct Spread {
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    constexpr int kSends = 20;
    QTemporaryDir folder;
    InstallDeviceBackend(std::make_unique<FileBackend>(folder.filePath("frames.bin").toStdString()));
    InstallMessageBoxHandler([](const std::string& text, const std::string&) {
        std::fprintf(stderr, "%s\n", text.c_str());
    });
    if (OpenInstrument(false) != OpenResult::Opened) return 1;

    // The longest paced sequence (RAMP, 2.1 s of pauses) and the combined line: nine lines.
    ContinuousSettings ramp;
    ramp.waveform = "RAMP";
    CommandSequence sequence = ContinuousOutputSequence(ramp);
    sequence.push_back(ContinuousDirectSequence(ramp).front());

    MeasuringClock clock;
    InstallPauseClock(&clock);
    std::vector<double> overheads;
    for (int send = 0; send < kSends; ++send) {
        clock.asked = 0;
        const auto start = Clock::now();
        if (SendSequence(sequence).outcome != SendOutcome::Sent) return 1;
        overheads.push_back(Millis(Clock::now() - start).count() - clock.asked);
    }
    InstallPauseClock(nullptr);

    const Spread pause = SpreadOf(clock.errors);
    const Spread overhead = SpreadOf(overheads);
    std::printf("%d sends of %zu lines, %zu pauses\n", kSends, sequence.size(), clock.errors.size());
    std::printf("pause error (ms):        min %7.3f  median %7.3f  max %7.3f\n", pause.min,
                pause.median, pause.max);
    std::printf("overhead per send (ms):  min %7.3f  median %7.3f  max %7.3f\n", overhead.min,
                overhead.median, overhead.max);
    const bool met = pause.min >= 0 && pause.median < 2.0 && overhead.median < 5.0;
    std::printf("targets (no pause short, median error < 2 ms, overhead < 5 ms): %s\n",
                met ? "met" : "NOT MET");
    return met ? 0 : 1;
}
