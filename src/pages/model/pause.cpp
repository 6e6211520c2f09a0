#include "pages/model/pause.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace valdrix::model {

namespace {

// Pauses run on the sender's worker thread, never on the thread that paints the window, so the
// real clock simply sleeps: a pause is never short.
class RealPauseClock : public PauseClock {
public:
    void Sleep(unsigned milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

// Installed by a test's thread while the worker may read it.
std::atomic<PauseClock*>& Installed() {
    static std::atomic<PauseClock*> clock = nullptr;
    return clock;
}

}  // namespace

void Pause(unsigned milliseconds) {
    static RealPauseClock real;
    PauseClock* clock = Installed().load();
    (clock != nullptr ? clock : &real)->Sleep(milliseconds);
}

PauseClock* InstallPauseClock(PauseClock* clock) {
    return Installed().exchange(clock);
}

}  // namespace valdrix::model
