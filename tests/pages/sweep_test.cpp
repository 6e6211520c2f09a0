#include "pages/sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page_driver.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

enum ControlId : int {
    kStopFreq = 1038,
    kStopUnit = 1039,
    kSweepTime = 1040,
    kTimeUnit = 1041,
    kSource = 1042,
    kState = 1043,
    kStartFreq = 1044,
    kStartUnit = 1045,
    kSweepMode = 1046,
};

constexpr int kSweepTab = 6;

// clang-format off
const std::vector<std::string> kDefaultEvents = {
    "SWEep:STATe ON\n",               "pause 500",
    "FREQuency:STARt 100.000000Hz\n", "pause 200",
    "FREQuency:STOP 1000.000000Hz\n", "pause 200",
    "SWEep:TIME 3.000000s\n",         "pause 100",
    "TRIGger:SOURce IMMediate\n",     "pause 100",
    "SWEep:SPACing LINear\n",
};
// clang-format on
const std::vector<std::string> kDefaultLines = LinesOf(kDefaultEvents);

class SweepPageTest : public PageTest {
protected:
    CommandPage& ThePage() override { return page; }

    CSweep page;
};

TEST_F(SweepPageTest, FieldsAndBoxesStartOnTheirDefaults) {
    EXPECT_EQ(Text(kStartFreq), "100");
    EXPECT_EQ(Text(kStopFreq), "1000");
    EXPECT_EQ(Text(kSweepTime), "3");
    ExpectLists({
        {kStartUnit, {"MHz", "kHz", "Hz", "mHz"}, "Hz"},
        {kStopUnit, {"MHz", "kHz", "Hz", "mHz"}, "Hz"},
        {kTimeUnit, {"s", "ms"}, "s"},
        {kSource, {"IMMediate", "EXTernal"}, "IMMediate"},
        {kState, {"ON", "OFF"}, "ON"},
        {kSweepMode, {"LINear", "LOGarithmic"}, "LINear"},
    });
}

TEST_F(SweepPageTest, DefaultsGoOutInOrderWithTheirPauses) {
    page.SendCommands();

    ExpectSent(kDefaultEvents);
}

TEST_F(SweepPageTest, SecondSendLeavesOnlyItsOwnLines) {
    page.SendCommands();
    Type(kSweepTime, "5");

    page.SendCommands();

    EXPECT_EQ(page.m_strCommand,
              EveryLineEnded(Changed(kDefaultLines, {"", {}, {{3, "SWEep:TIME 5.000000s"}}})));
}

class SweepFieldTest : public SweepPageTest, public ::testing::WithParamInterface<FieldChange> {};

TEST_P(SweepFieldTest, SixLinesGoOutWithTheFieldsAsEntered) {
    Enter(GetParam().entries);

    page.SendCommands();

    ExpectSent(ChangedEvents(kDefaultEvents, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SweepFieldTest,
    ::testing::Values(
        FieldChange{"start above stop",
                    {{kStartFreq, "5000"}, {kStopFreq, "10"}},
                    {{1, "FREQuency:STARt 5000.000000Hz"}, {2, "FREQuency:STOP 10.000000Hz"}}},
        FieldChange{
            "negative frequency", {{kStartFreq, "-100"}}, {{1, "FREQuency:STARt -100.000000Hz"}}},
        FieldChange{"negative sweep time", {{kSweepTime, "-2"}}, {{3, "SWEep:TIME -2.000000s"}}},
        FieldChange{"no sweep time", {{kSweepTime, "0"}}, {{3, "SWEep:TIME 0.000000s"}}},
        FieldChange{"beyond six decimals",
                    {{kStartFreq, "0.0000004"}},
                    {{1, "FREQuency:STARt 0.000000Hz"}}},
        FieldChange{"largest double",
                    {{kStopFreq, kLargestDoubleTyped}},
                    {{2, "FREQuency:STOP " + kLargestDoubleFixed + "Hz"}}},
        FieldChange{"milliseconds",
                    {{kTimeUnit, "ms", true}, {kSweepTime, "100"}},
                    {{3, "SWEep:TIME 100.000000ms"}}},
        FieldChange{
            "megahertz start", {{kStartUnit, "MHz", true}}, {{1, "FREQuency:STARt 100.000000MHz"}}},
        FieldChange{"unit typed in another case",
                    {{kStopUnit, "KHZ"}},
                    {{2, "FREQuency:STOP 1000.000000KHZ"}}},
        FieldChange{
            "unit not in the list", {{kStartUnit, "GHz"}}, {{1, "FREQuency:STARt 100.000000GHz"}}},
        FieldChange{"state off", {{kState, "OFF", true}}, {{0, "SWEep:STATe OFF"}}},
        FieldChange{"empty state box", {{kState, ""}}, {{0, "SWEep:STATe "}}},
        FieldChange{
            "external source", {{kSource, "EXTernal", true}}, {{4, "TRIGger:SOURce EXTernal"}}},
        FieldChange{"empty source box", {{kSource, ""}}, {{4, "TRIGger:SOURce "}}},
        FieldChange{"logarithmic",
                    {{kSweepMode, "LOGarithmic", true}},
                    {{5, "SWEep:SPACing LOGarithmic"}}}));

class SweepRefusalTest : public SweepPageTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SweepRefusalTest, RefusedFieldWritesNothingAndGetsTheFocus) {
    PrepareRefusal(GetParam(), kState);

    SendAgain();

    ExpectRefused(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Fields, SweepRefusalTest,
                         ::testing::Values(Refusal{"start in words", kStartFreq, "abc"},
                                           Refusal{"empty stop", kStopFreq, ""},
                                           Refusal{"time with its unit", kSweepTime, "3 s"}));

TEST_F(ProgramWindowTest, ValidateOnTheSweepTabSendsTheSweepPage) {
    ExpectValidateOnTabSends(kSweepTab, kDefaultEvents);
}

}  // namespace
