#include <gtest/gtest.h>

#include "link/ch375.h"
#include "support/test_fixture.h"

namespace {

TEST(Ch375, WithoutABackendEveryCallFails) {
    InstallDeviceBackend(nullptr);
    EXPECT_EQ(CH375OpenDevice(0), INVALID_HANDLE_VALUE);
    ULONG length = 1;
    EXPECT_FALSE(CH375WriteData(0, "\n", &length));
    EXPECT_FALSE(CH375LastError().empty());
}

class Ch375Test : public InstrumentTest {};

TEST_F(Ch375Test, TracksWhichDevicesAreOpen) {
    EXPECT_FALSE(CH375IsDeviceOpen(0));
    EXPECT_NE(CH375OpenDevice(0), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CH375IsDeviceOpen(0));
    EXPECT_FALSE(CH375IsDeviceOpen(1));
    CH375CloseDevice(0);
    EXPECT_FALSE(CH375IsDeviceOpen(0));
    EXPECT_EQ(script->closes, 1);
}

TEST_F(Ch375Test, AFailedOpenLeavesTheDeviceClosedWithAReason) {
    script->openFails = true;
    EXPECT_EQ(CH375OpenDevice(0), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CH375IsDeviceOpen(0));
    EXPECT_EQ(CH375LastError(), "no instrument is attached");
}

}  // namespace
