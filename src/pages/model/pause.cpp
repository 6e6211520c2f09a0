#include "pages/model/pause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>
#include <utility>

namespace valdrix::model {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kFinalStretch = std::chrono::milliseconds(2);

class RealPauseClock : public PauseClock {
public:
    void Sleep(unsigned milliseconds) override {
        const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
        // The event loop's timers are coarse: let them run until shortly before the end, then
        // sleep out the last moment so that a pause is neither short nor noticeably long.
        for (auto left = end - Clock::now(); left > kFinalStretch; left = end - Clock::now()) {
            WaitAtMost(std::chrono::floor<std::chrono::milliseconds>(left - kFinalStretch));
        }
        std::this_thread::sleep_until(end);
    }

private:
    static void WaitAtMost(std::chrono::milliseconds span) {
        if (QCoreApplication::instance() == nullptr) {
            std::this_thread::sleep_for(span);
            return;
        }
        // Painting and timers go on; user input stays queued and is handled in order after the
        // send, so two sends never overlap.
        QEventLoop loop;
        QTimer::singleShot(span, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
};

PauseClock*& Installed() {
    static PauseClock* clock = nullptr;
    return clock;
}

}  // namespace

void Pause(unsigned milliseconds) {
    static RealPauseClock real;
    PauseClock* clock = Installed() != nullptr ? Installed() : &real;
    clock->Sleep(milliseconds);
}

PauseClock* InstallPauseClock(PauseClock* clock) {
    return std::exchange(Installed(), clock);
}

}  // namespace valdrix::model
