#include "support/test_fixture.h"

using namespace valdrix::link;

using namespace valdrix::model;

void InstrumentTest::SetUp() {
    instrument.Use(std::make_unique<RecordingBackend>(script, timeline));
    m_clock = std::make_unique<VirtualClock>(timeline);
    m_previousClock = InstallPauseClock(m_clock.get());
}

void InstrumentTest::TearDown() {
    InstallPauseClock(m_previousClock);
    // Before a derived fixture takes down what the transport reaches (an emulated USB bus).
    instrument.Use(nullptr);
}

void InstrumentTest::OpenDevice() {
    ASSERT_EQ(instrument.Open(true), OpenResult::Opened);
}

std::vector<std::string> FramesOf(const std::vector<std::string>& lines) {
    std::vector<std::string> frames;
    for (const std::string& line : lines) frames.push_back(Frame(line));
    return frames;
}
