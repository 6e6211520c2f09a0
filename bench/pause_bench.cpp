// How closely a real send keeps to its pauses, over repeated sends of a nine-line sequence to the
// file link. Two figures, kept apart so that a busy machine does not pass for slow code:
// - the code's own overhead per send: the send's time less the time its pauses actually took;
// - each pause's lateness: how much longer than asked it took, which is mostly the scheduler's.
// Targets: overhead under 1 ms; no pause short; median lateness under 2 ms on an idle machine.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "link/file_backend.h"
#include "link/instrument.h"
#include "pages/model/command_sender.h"
#include "pages/model/continuous.h"
#include "pages/model/pause.h"

using namespace valdrix::link;

using namespace valdrix::model;

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
        const double took = Millis(Clock::now() - start).count();
        InstallPauseClock(this);
        lateness.push_back(took - milliseconds);
        pausedInSend += took;
    }
    std::vector<double> lateness;
    double pausedInSend = 0;
};

struct Spread {
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

void PrintSpread(const char* what, const Spread& spread) {
    std::printf("%-28s min %7.3f  median %7.3f  max %7.3f\n", what, spread.min, spread.median,
                spread.max);
}

}  // namespace

int main(int argc, char** argv) {
    // The pauses wait in an event loop, as they do in the panel.
    QCoreApplication application(argc, argv);
    constexpr int kSends = 20;
    QTemporaryDir folder;
    Instrument instrument(
        std::make_unique<FileBackend>(folder.filePath("frames.bin").toStdString()));
    if (instrument.Open(false) != OpenResult::Opened) return 1;

    // The longest paced sequence (RAMP, 2.1 s of pauses) and the combined line: nine lines.
    ContinuousSettings ramp;
    ramp.waveform = "RAMP";
    CommandSequence sequence = ContinuousOutputSequence(ramp);
    sequence.push_back(ContinuousDirectSequence(ramp).front());

    MeasuringClock clock;
    InstallPauseClock(&clock);
    std::vector<double> overheads;
    for (int send = 0; send < kSends; ++send) {
        clock.pausedInSend = 0;
        const auto start = Clock::now();
        if (const SendReport report = SendSequence(instrument, sequence);
            report.outcome != SendOutcome::Sent) {
            std::fprintf(stderr, "%s\n", report.message.c_str());
            return 1;
        }
        overheads.push_back(Millis(Clock::now() - start).count() - clock.pausedInSend);
    }
    InstallPauseClock(nullptr);

    const Spread overhead = SpreadOf(overheads);
    const Spread late = SpreadOf(clock.lateness);
    std::printf("%d sends of %zu lines, %zu pauses\n", kSends, sequence.size(),
                clock.lateness.size());
    PrintSpread("code's overhead per send (ms)", overhead);
    PrintSpread("pause lateness (ms)", late);
    const bool codeMet = overhead.median < 1.0;
    const bool pausesMet = late.min >= 0 && late.median < 2.0;
    std::printf("code: overhead < 1 ms: %s\n", codeMet ? "met" : "NOT MET");
    std::printf("pauses: none short, median lateness < 2 ms: %s%s\n", pausesMet ? "met" : "NOT MET",
                late.min >= 0 && !pausesMet ? " (late, not short: is the machine busy?)" : "");
    return codeMet && pausesMet ? 0 : 1;
}
