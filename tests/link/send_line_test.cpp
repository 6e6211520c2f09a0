#include <gtest/gtest.h>

#include <string>

#include "link/ch375.h"
#include "link/send_line.h"
#include "support/test_fixture.h"

namespace {

class SendLineTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        OpenDevice();
    }
    LineBuffer buffer = LineBuffer::Obtain();
};

TEST_F(SendLineTest, FramesEachLineWithOneLineFeedAndNothingElse) {
    struct Case {
        const char* line;
        std::string frame;
    };
    const Case cases[] = {
        {"*RST", std::string("\x2A\x52\x53\x54\x0A")},
        {"*SYSTem:LOCal", "*SYSTem:LOCal\n"},
        {"AM:STATe ON", "AM:STATe ON\n"},
    };
    for (const Case& c : cases) EXPECT_TRUE(SendLine(buffer, c.line).written) << c.line;
    EXPECT_EQ(Frames(), (std::vector<std::string>{cases[0].frame, cases[1].frame, cases[2].frame}));
    EXPECT_EQ(script->lengths, (std::vector<ULONG>{5, 14, 12}));
}

TEST_F(SendLineTest, AShorterLineAfterALongerOneCarriesNoRestOfIt) {
    SendLine(buffer, "FSKey:INTernal:RATE 1000.000000Hz");
    SendLine(buffer, "*TRG");
    EXPECT_EQ(Frames(), FramesOf({"FSKey:INTernal:RATE 1000.000000Hz", "*TRG"}));
}

TEST_F(SendLineTest, AFailedWriteGivesTheReasonAndClosesTheDevice) {
    script->failWrite = 1;
    const WriteResult result = SendLine(buffer, "*RST");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, "the instrument was unplugged");
    EXPECT_EQ(script->closes, 1);
    EXPECT_FALSE(CH375IsDeviceOpen(0));
}

TEST_F(SendLineTest, AShortWriteIsAFailedWrite) {
    script->failWrite = 1;
    script->shortBy = 2;
    const WriteResult result = SendLine(buffer, "*RST");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, "only 3 of 5 bytes reached the instrument");
}

TEST_F(SendLineTest, NothingIsWrittenBeyondTheBuffer) {
    EXPECT_FALSE(SendLine(buffer, std::string(1023, 'A')).written);
    EXPECT_TRUE(SendLine(buffer, std::string(1022, 'A')).written);
    EXPECT_EQ(script->lengths, (std::vector<ULONG>{1023}));
}

}  // namespace
