#include <gtest/gtest.h>

#include "link/ch375.h"
#include "link/instrument.h"
#include "support/test_fixture.h"

namespace {

class InstrumentOpenTest : public InstrumentTest {};

TEST_F(InstrumentOpenTest, OpensWithAFiniteWriteTimeout) {
    EXPECT_EQ(OpenInstrument(true), OpenResult::Opened);
    using Timeouts = std::vector<std::pair<ULONG, ULONG>>;
    EXPECT_EQ(script->timeouts, (Timeouts{{5000, 4000}}));
}

TEST_F(InstrumentOpenTest, NoDeviceMeansNoTimeoutCall) {
    script->openFails = true;
    EXPECT_EQ(OpenInstrument(true), OpenResult::NoDevice);
    EXPECT_TRUE(script->timeouts.empty());
}

TEST_F(InstrumentOpenTest, TimeoutFailureKeepsTheDeviceOpenOnlyWhenAsked) {
    script->timeoutFails = true;
    EXPECT_EQ(OpenInstrument(true), OpenResult::TimeoutFailed);
    EXPECT_TRUE(CH375IsDeviceOpen(kInstrumentDevice));
    EXPECT_EQ(OpenInstrument(false), OpenResult::TimeoutFailed);
    EXPECT_FALSE(CH375IsDeviceOpen(kInstrumentDevice));
}

TEST_F(InstrumentOpenTest, EnsureOpenReopensAClosedDeviceOnce) {
    EXPECT_TRUE(EnsureInstrumentOpen());
    EXPECT_TRUE(EnsureInstrumentOpen());
    EXPECT_EQ(script->opens, 1) << "an open device is not opened again";
    CH375CloseDevice(kInstrumentDevice);
    script->openFails = true;
    EXPECT_FALSE(EnsureInstrumentOpen());
    script->openFails = false;
    EXPECT_TRUE(EnsureInstrumentOpen());
    EXPECT_EQ(script->opens, 3);
}

}  // namespace
