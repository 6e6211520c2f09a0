#include "pages/burst.h"

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
    kPeriodUnit = 1048,
    kPeriod = 1049,
    kCycles = 1050,
    kPhase = 1051,
    kSource = 1052,
    kState = 1053,
};

constexpr int kBurstTab = 7;

// clang-format off
const std::vector<std::string> kDefaultEvents = {
    "BURSt:STATe ON\n",                  "pause 200",
    "BURSt:INTernal:PERiod 0.100000s\n", "pause 200",
    "BURSt:NCYCles 3\n",                 "pause 200",
    "BURSt:PHASe 0deg\n",                "pause 100",
    "TRIGger:SOURce IMMediate\n",
};
// clang-format on
const std::vector<std::string> kDefaultLines = LinesOf(kDefaultEvents);

class BurstPageTest : public PageTest {
protected:
    CommandPage& ThePage() override { return page; }

    CBurst page;
};

TEST_F(BurstPageTest, FieldsAndBoxesStartOnTheirDefaults) {
    EXPECT_EQ(Text(kPeriod), "0.1");
    EXPECT_EQ(Text(kCycles), "3");
    EXPECT_EQ(Text(kPhase), "0");
    ExpectLists({
        {kPeriodUnit, {"s", "ms"}, "s"},
        {kSource, {"IMMediate", "EXTernal"}, "IMMediate"},
        {kState, {"ON", "OFF"}, "ON"},
    });
}

TEST_F(BurstPageTest, DefaultsGoOutInOrderWithTheirPauses) {
    page.SendCommands();

    ExpectSent(kDefaultEvents);
}

TEST_F(BurstPageTest, SecondSendLeavesOnlyItsOwnLines) {
    page.SendCommands();
    Type(kCycles, "5");

    page.SendCommands();

    EXPECT_EQ(page.m_strCommand,
              EveryLineEnded(Changed(kDefaultLines, {"", {}, {{2, "BURSt:NCYCles 5"}}})));
}

class BurstFieldTest : public BurstPageTest, public ::testing::WithParamInterface<FieldChange> {};

TEST_P(BurstFieldTest, FiveLinesGoOutWithTheFieldsAsEntered) {
    Enter(GetParam().entries);

    page.SendCommands();

    ExpectSent(ChangedEvents(kDefaultEvents, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BurstFieldTest,
    ::testing::Values(FieldChange{"milliseconds",
                                  {{kPeriodUnit, "ms", true}, {kPeriod, "100"}},
                                  {{1, "BURSt:INTernal:PERiod 100.000000ms"}}},
                      FieldChange{"beyond six decimals",
                                  {{kPeriod, "0.0000004"}},
                                  {{1, "BURSt:INTernal:PERiod 0.000000s"}}},
                      FieldChange{"largest double",
                                  {{kPeriod, kLargestDoubleTyped}},
                                  {{1, "BURSt:INTernal:PERiod " + kLargestDoubleFixed + "s"}}},
                      FieldChange{"unit typed in another case",
                                  {{kPeriodUnit, "MS"}},
                                  {{1, "BURSt:INTernal:PERiod 0.100000MS"}}},
                      FieldChange{"fewest cycles", {{kCycles, "1"}}, {{2, "BURSt:NCYCles 1"}}},
                      FieldChange{"most cycles", {{kCycles, "9"}}, {{2, "BURSt:NCYCles 9"}}},
                      FieldChange{"minus ninety", {{kPhase, "-90"}}, {{3, "BURSt:PHASe -90deg"}}},
                      FieldChange{"a full turn", {{kPhase, "360"}}, {{3, "BURSt:PHASe 360deg"}}},
                      FieldChange{"state off, the rest still sent",
                                  {{kState, "OFF", true}},
                                  {{0, "BURSt:STATe OFF"}}},
                      FieldChange{"external source, the period still sent",
                                  {{kSource, "EXTernal", true}},
                                  {{4, "TRIGger:SOURce EXTernal"}}},
                      FieldChange{"empty source box", {{kSource, ""}}, {{4, "TRIGger:SOURce "}}}));

class BurstRefusalTest : public BurstPageTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BurstRefusalTest, RefusedFieldWritesNothingAndGetsTheFocus) {
    PrepareRefusal(GetParam(), kState);

    SendAgain();

    ExpectRefused(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Fields, BurstRefusalTest,
                         ::testing::Values(Refusal{"no cycles", kCycles, "0", {"1", "9"}},
                                           Refusal{"ten cycles", kCycles, "10", {"1", "9"}},
                                           Refusal{"negative cycles", kCycles, "-3", {"1", "9"}},
                                           Refusal{"fraction of a cycle", kCycles, "2.5"},
                                           Refusal{"period in words", kPeriod, "x"},
                                           Refusal{"fraction of a degree", kPhase, "1.5"},
                                           Refusal{"empty phase", kPhase, ""}));

TEST_F(BurstPageTest, ExchangeReadsThePhaseBeforeTheCycleCount) {
    // The cycle count sits before the phase on the page, but is read after it.
    Type(kCycles, "many");
    Type(kPhase, "right");

    page.SendCommands();

    EXPECT_EQ(script->writes, 0);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(FocusedControl(), Control(kPhase));
}

TEST_F(ProgramWindowTest, ValidateOnTheBurstTabSendsTheBurstPage) {
    ExpectValidateOnTabSends(kBurstTab, kDefaultEvents);
}

TEST_F(ProgramWindowTest, RefusedCycleCountLeavesTheLogAsItWas) {
    ExpectRefusedValidateKeepsTheLog(kBurstTab, {"no cycles", kCycles, "0", {"1", "9"}});
}

}  // namespace
