#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/instrument.h"
#include "support/recording_backend.h"

// Every test that touches the link gets a recorder behind the device calls and a virtual clock;
// nothing waits, blocks or needs hardware.
class InstrumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the recorder's device as the shell would at start-up.
    void OpenDevice();

    std::vector<std::string> Frames() const { return timeline->Frames(); }

    std::shared_ptr<DeviceScript> script = std::make_shared<DeviceScript>();
    std::shared_ptr<Timeline> timeline = std::make_shared<Timeline>();
    // The instrument with the recorder behind it, every write counted.
    valdrix::link::Instrument instrument;

private:
    std::unique_ptr<VirtualClock> m_clock;
    valdrix::model::PauseClock* m_previousClock = nullptr;
};

// A frame as the instrument receives it: the line and the terminator.
inline std::string Frame(const std::string& line) {
    return line + "\n";
}
std::vector<std::string> FramesOf(const std::vector<std::string>& lines);
