#pragma once

namespace valdrix::model {

// The pause between command lines, taken on the thread that writes them. The real clock never
// returns early.
class PauseClock {
public:
    virtual ~PauseClock() = default;
    virtual void Sleep(unsigned milliseconds) = 0;
};

void Pause(unsigned milliseconds);

// Tests install a clock that records the pauses and returns at once. Returns the previous
// clock; nullptr restores the real one.
PauseClock* InstallPauseClock(PauseClock* clock);

}  // namespace valdrix::model
