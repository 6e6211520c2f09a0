#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <locale>

#include "pages/model/command_format.h"
#include "pages/model/command_sender.h"
#include "pages/model/paced_sender.h"
#include "support/test_fixture.h"

using namespace valdrix::model;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

SendReport SendSingleCommand(valdrix::link::Instrument& instrument, const std::string& line) {
    return SendSequence(instrument, SingleCommand(line));
}

class SenderTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        OpenDevice();
    }
    // The model shows nothing itself: the operator's message is in the report.
    static std::string OnlyMessage(const SendReport& report) {
        EXPECT_FALSE(report.message.empty());
        return report.message;
    }
};

TEST_F(SenderTest, LongestLineFillsTheBufferAndGoesOut) {
    const std::string longest(1022, 'A');
    EXPECT_EQ(SendSingleCommand(instrument, longest).outcome, SendOutcome::Sent);
    EXPECT_THAT(script->lengths, ElementsAre(1023u));
    EXPECT_THAT(timeline->events, ElementsAre(longest + "\n"));
}

// A line the instrument cannot take is found before anything is written: the harmless first
// line of the send must not go out either.
TEST_F(SenderTest, UnsafeLineRefusesTheWholeSendBeforeAnyWrite) {
    for (const std::string& line : {std::string(1023, 'A'), std::string("OUTPut ON\nOUTPut OFF"),
                                    std::string("OUTPut\tON"), std::string("OUTPut O\0N", 10),
                                    std::string("OUTPut ON\x7F"), std::string("Sinus\xC3\xB6")}) {
        const SendReport report =
            SendSequence(instrument, {{"FUNCtion SINusoid", {}, {300}}, {line, {100}, {}}});
        EXPECT_EQ(report.outcome, SendOutcome::Refused);
        EXPECT_EQ(script->writes, 0);
        EXPECT_THAT(OnlyMessage(report), HasSubstr("Nothing was sent"));
    }
    EXPECT_THAT(SendSingleCommand(instrument, "OUTPut\tON").message, HasSubstr("<0x09>"));
}

TEST_F(SenderTest, FailedWriteStopsTheSendAndNamesTheLineAndReason) {
    script->failWrite = 2;
    const SendReport report =
        SendSequence(instrument, {{"AM:STATe ON", {}, {300}},
                                  {"AM:INTernal:FREQuency 1Hz", {}, {200, 100}},
                                  {"AM:DEPTh 100%", {}, {100}}});
    EXPECT_THAT(timeline->events, ElementsAre("AM:STATe ON\n", "pause 300"));
    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_EQ(CommandText(report, LineEnds::BetweenLines),
              "AM:STATe ON\r\nAM:INTernal:FREQuency 1Hz    <-- NOT SENT: " + script->failReason);
    const std::string message = OnlyMessage(report);
    EXPECT_THAT(message, HasSubstr("\"AM:INTernal:FREQuency 1Hz\""));
    EXPECT_THAT(message, HasSubstr(script->failReason));
    EXPECT_THAT(message, HasSubstr("1 line(s) before it were sent"));
}

// A cut-short line is ended at once, so that the instrument drops the fragment rather than
// glue it to the next command; the next send opens the instrument again.
TEST_F(SenderTest, ShortWriteIsAFailureEndedByALoneLineEnd) {
    script->failWrite = 1;
    script->shortBy = 2;
    const SendReport report = SendSingleCommand(instrument, "*RST");
    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_THAT(report.reason, HasSubstr("only 3 of 5 bytes"));
    EXPECT_THAT(OnlyMessage(report), HasSubstr("3 byte(s) of this one"));
    const int opens = script->opens;
    EXPECT_EQ(SendSingleCommand(instrument, "*SYSTem:LOCal").outcome, SendOutcome::Sent);
    EXPECT_EQ(script->opens, opens + 1);
    EXPECT_THAT(timeline->events, ElementsAre("*RS", "\n", "*SYSTem:LOCal\n"));
}

// When the line end cannot follow either, it goes before the next frame.
TEST_F(SenderTest, LineEndThatCouldNotFollowACutGoesBeforeTheNextCommand) {
    script->failAllWrites = true;
    script->shortBy = 2;
    script->shortIsError = true;
    const SendReport cut = SendSingleCommand(instrument, "*RST");
    EXPECT_EQ(SendSingleCommand(instrument, "*TRG").outcome,
              SendOutcome::Failed);  // the owed end fails too
    script->failAllWrites = false;
    EXPECT_EQ(SendSingleCommand(instrument, "OUTPut OFF").outcome, SendOutcome::Sent);
    EXPECT_THAT(timeline->events, ElementsAre("*RS", "\n", "OUTPut OFF\n"));
    EXPECT_THAT(cut.message, HasSubstr("goes before the next command"));
}

TEST_F(InstrumentTest, InstrumentThatCannotBeOpenedIsAFailedSend) {
    script->openFails = true;
    const SendReport report = SendSingleCommand(instrument, "*TRG");
    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_EQ(script->writes, 0);
    EXPECT_FALSE(report.message.empty());
}

// The front ends' one road: sends run in the order queued, on the worker, and a refused one is
// known at once and never queued.
TEST_F(SenderTest, QueuedSendsRunInTheirOrderAndARefusalIsKnownAtOnce) {
    std::vector<std::string> ended;
    PacedSender sender(instrument);
    const auto record = [&ended](const SendReport& report) {
        ended.push_back(report.sentLines[0]);
    };
    EXPECT_FALSE(sender.Queue({{"AM:STATe ON", {}, {300}}}, {}, record));
    const auto refused = sender.Queue(SingleCommand("OUTPut\tON"), {}, record);
    EXPECT_FALSE(sender.Queue(SingleCommand("*TRG"), {}, record));
    sender.WaitUntilIdle();
    ASSERT_TRUE(refused);
    EXPECT_THAT(refused->message, HasSubstr("Nothing was sent"));
    EXPECT_THAT(timeline->events, ElementsAre("AM:STATe ON\n", "pause 300", "*TRG\n"));
    EXPECT_THAT(ended, ElementsAre("AM:STATe ON", "*TRG"));
}

// A locale with a decimal comma, as a German operator's machine has, changes nothing on the wire.
struct DecimalComma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(CommandFormatTest, TemplatesFormatAsPrintfInTheCLocaleWhateverTheLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
    EXPECT_EQ(FormatCommand("A %f%s, %d%% %ddeg", {-1.5, std::string("mHz"), 50, -90}),
              "A -1.500000mHz, 50% -90deg");
    EXPECT_EQ(FormatCommand("%f", {1e-7}), "0.000000");
    std::locale::global(previous);
}

}  // namespace
