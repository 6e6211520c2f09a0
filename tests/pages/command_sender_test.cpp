#include "pages/command_sender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_fixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

class CommandSenderTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        OpenDevice();
    }
};

TEST_F(CommandSenderTest, WritesEachLineWithItsTerminatorAndThePausesAroundIt) {
    const SendReport report = SendSequence({
        {"FIRSt", {}, {200, 100}},
        {"SECond", {400}, {}},
        {"THIRd", {500}, {300}},
    });

    EXPECT_THAT(timeline->events, ElementsAre("FIRSt\n", "pause 200", "pause 100", "pause 400",
                                              "SECond\n", "pause 500", "THIRd\n", "pause 300"));
    EXPECT_EQ(report.outcome, SendOutcome::Sent);
    EXPECT_THAT(report.sentLines, ElementsAre("FIRSt", "SECond", "THIRd"));
    EXPECT_THAT(script->lengths, ElementsAre(6u, 7u, 6u));
    EXPECT_THAT(messages, IsEmpty());
}

TEST_F(CommandSenderTest, TellsOfEachLineOnceTheInstrumentHasTakenIt) {
    std::vector<std::string> heard;
    SendSequence({{"ONE", {}, {100}}, {"TWO", {}, {}}}, [&](const std::string& line) {
        // The frame is already on the wire, and the pause after it has not begun.
        heard.push_back(line + " after " + timeline->events.back());
    });

    EXPECT_THAT(heard, ElementsAre("ONE after ONE\n", "TWO after TWO\n"));
}

TEST_F(CommandSenderTest, SingleCommandGoesOutAloneWithoutPause) {
    const SendReport report = SendSingleCommand("*TRG");

    EXPECT_THAT(timeline->events, ElementsAre("*TRG\n"));
    EXPECT_EQ(report.outcome, SendOutcome::Sent);
}

TEST_F(CommandSenderTest, LongestLineFillsTheBufferAndGoesOut) {
    const std::string longest(1022, 'A');

    const SendReport report = SendSingleCommand(longest);

    EXPECT_EQ(report.outcome, SendOutcome::Sent);
    EXPECT_THAT(timeline->events, ElementsAre(longest + "\n"));
    EXPECT_THAT(script->lengths, ElementsAre(1023u));
}

struct RefusedLine {
    const char* what;
    std::string line;
};

void PrintTo(const RefusedLine& refused, std::ostream* out) {
    *out << refused.what;
}

class RefusedLineTest : public CommandSenderTest,
                        public ::testing::WithParamInterface<RefusedLine> {};

// A line the instrument cannot take is found before anything is written: the first, harmless
// line of the send must not go out either.
TEST_P(RefusedLineTest, NothingIsWrittenAndTheOperatorIsTold) {
    const SendReport report =
        SendSequence({{"FUNCtion SINusoid", {}, {300}}, {GetParam().line, {100}, {}}});

    EXPECT_EQ(report.outcome, SendOutcome::Refused);
    EXPECT_THAT(report.sentLines, IsEmpty());
    EXPECT_THAT(timeline->events, IsEmpty());
    EXPECT_EQ(script->writes, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "ERROR");
    EXPECT_THAT(messages[0].text, HasSubstr("Nothing was sent"));
}

INSTANTIATE_TEST_SUITE_P(Lines, RefusedLineTest,
                         ::testing::Values(RefusedLine{"one byte too long", std::string(1023, 'A')},
                                           RefusedLine{"line feed inside", "OUTPut ON\nOUTPut OFF"},
                                           RefusedLine{"carriage return", "OUTPut ON\r"},
                                           RefusedLine{"tab", "OUTPut\tON"},
                                           RefusedLine{"zero byte", std::string("OUTPut O\0N", 10)},
                                           RefusedLine{"delete", "OUTPut ON\x7F"},
                                           RefusedLine{"not ASCII", "FUNCtion Sinus\xC3\xB6"}));

TEST_F(CommandSenderTest, RefusalNamesTheCharacterAndWhereItIs) {
    SendSingleCommand("OUTPut\tON");

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].text, HasSubstr("0x09"));
    EXPECT_THAT(messages[0].text, HasSubstr("position 7"));
}

TEST_F(CommandSenderTest, EmptySequenceWritesNothing) {
    const SendReport report = SendSequence({});

    EXPECT_EQ(report.outcome, SendOutcome::Refused);
    EXPECT_EQ(script->writes, 0);
}

TEST_F(CommandSenderTest, FailedWriteStopsTheSendAndNamesTheLine) {
    script->failWrite = 2;

    const SendReport report = SendSequence({
        {"AM:STATe ON", {}, {300}},
        {"AM:INTernal:FREQuency 1000.000000Hz", {}, {200, 100}},
        {"AM:DEPTh 100%", {}, {100}},
    });

    // Neither the pauses after the failed line nor the lines after it follow.
    EXPECT_THAT(timeline->events, ElementsAre("AM:STATe ON\n", "pause 300"));
    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_THAT(report.sentLines, ElementsAre("AM:STATe ON"));
    EXPECT_EQ(report.failedLine, "AM:INTernal:FREQuency 1000.000000Hz");
    EXPECT_EQ(report.reason, script->failReason);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "ERROR");
    EXPECT_THAT(messages[0].text, HasSubstr("\"AM:INTernal:FREQuency 1000.000000Hz\""));
    EXPECT_THAT(messages[0].text, HasSubstr(script->failReason));
    EXPECT_THAT(messages[0].text, HasSubstr("1 line(s) before it were sent"));
}

TEST_F(CommandSenderTest, FirstWriteFailingSaysNothingWasSent) {
    script->failWrite = 1;

    const SendReport report = SendSequence({{"*TRG", {}, {}}, {"*RST", {}, {}}});

    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_THAT(report.sentLines, IsEmpty());
    EXPECT_EQ(script->writes, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].text, HasSubstr("Nothing was sent"));
}

TEST_F(CommandSenderTest, ShortWriteIsAFailedWrite) {
    script->failWrite = 1;
    script->shortBy = 2;

    const SendReport report = SendSingleCommand("*RST");

    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_THAT(report.reason, HasSubstr("only 3 of 5 bytes"));
}

TEST_F(CommandSenderTest, SendAfterAFailedWriteOpensTheInstrumentAgain) {
    script->failWrite = 1;
    SendSingleCommand("*RST");
    const int opensBefore = script->opens;

    const SendReport report = SendSingleCommand("*SYSTem:LOCal");

    EXPECT_EQ(report.outcome, SendOutcome::Sent);
    EXPECT_EQ(script->opens, opensBefore + 1);
    EXPECT_THAT(timeline->events, ElementsAre("*SYSTem:LOCal\n"));
}

// No device was opened at start-up, and it cannot be opened now either.
using UnopenedInstrumentTest = InstrumentTest;

TEST_F(UnopenedInstrumentTest, InstrumentThatCannotBeOpenedIsAFailedSend) {
    script->openFails = true;

    const SendReport report = SendSingleCommand("*TRG");

    EXPECT_EQ(report.outcome, SendOutcome::Failed);
    EXPECT_EQ(report.failedLine, "*TRG");
    EXPECT_EQ(script->writes, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].text, HasSubstr("Nothing was sent"));
}

struct JoinCase {
    std::vector<std::string> lines;
    LineEnds ends;
    std::string text;
};

void PrintTo(const JoinCase& join, std::ostream* out) {
    *out << join.lines.size() << " line(s), "
         << (join.ends == LineEnds::AfterEachLine ? "after each" : "between");
}

class JoinLinesTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinLinesTest, JoinsWithCrLf) {
    EXPECT_EQ(JoinLines(GetParam().lines, GetParam().ends), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JoinLinesTest,
    ::testing::Values(JoinCase{{}, LineEnds::AfterEachLine, ""},
                      JoinCase{{}, LineEnds::BetweenLines, ""},
                      JoinCase{{"OUTPut ON"}, LineEnds::AfterEachLine, "OUTPut ON\r\n"},
                      JoinCase{{"OUTPut ON"}, LineEnds::BetweenLines, "OUTPut ON"},
                      JoinCase{{"A", "B", "C"}, LineEnds::AfterEachLine, "A\r\nB\r\nC\r\n"},
                      JoinCase{{"A", "B", "C"}, LineEnds::BetweenLines, "A\r\nB\r\nC"},
                      JoinCase{{"FUNCtion ", ""}, LineEnds::BetweenLines, "FUNCtion \r\n"}));

TEST_F(CommandSenderTest, CommandTextOfAFailedSendMarksTheLineThatWasNotSent) {
    script->failWrite = 2;
    const SendReport report = SendSequence({{"A", {}, {}}, {"B", {}, {}}, {"C", {}, {}}});

    EXPECT_EQ(CommandText(report, LineEnds::BetweenLines),
              "A\r\nB    <-- NOT SENT: " + script->failReason);
    EXPECT_EQ(CommandText(report, LineEnds::AfterEachLine),
              "A\r\nB    <-- NOT SENT: " + script->failReason + "\r\n");
}

TEST_F(CommandSenderTest, CommandTextOfACompleteSendIsItsLines) {
    const SendReport report = SendSequence({{"A", {}, {}}, {"B", {}, {}}});

    EXPECT_EQ(CommandText(report, LineEnds::BetweenLines), "A\r\nB");
    EXPECT_EQ(CommandText(report, LineEnds::AfterEachLine), "A\r\nB\r\n");
}

}  // namespace
