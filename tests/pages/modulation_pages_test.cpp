#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "page_driver.h"
#include "pages/am.h"
#include "pages/fm.h"
#include "pages/fsk.h"
#include "pages/pm.h"
#include "pages/pwm.h"

using ::testing::IsEmpty;

namespace {

const std::vector<std::string> kOnOff = {"ON", "OFF"};
const std::vector<std::string> kModulationUnits = {"kHz", "Hz", "mHz"};
const std::vector<std::string> kFrequencyUnits = {"MHz", "kHz", "Hz", "mHz"};

// The number formats of a "%f" field and its unit box on line `line` after `keyword`.
std::vector<FieldChange> FixedPointCases(int field, int unitBox, std::size_t line,
                                         const std::string& keyword) {
    return {
        {"half", {{field, "0.5"}}, {{line, keyword + "0.500000Hz"}}},
        {"below six decimals", {{field, "0.0000001"}}, {{line, keyword + "0.000000Hz"}}},
        {"two decimals", {{field, "250.25"}}, {{line, keyword + "250.250000Hz"}}},
        {"kilohertz", {{field, "2.5"}, {unitBox, "kHz", true}}, {{line, keyword + "2.500000kHz"}}},
        {"largest double",
         {{field, kLargestDoubleTyped}},
         {{line, keyword + kLargestDoubleFixed + "Hz"}}},
        {"typed unit", {{unitBox, "GHz"}}, {{line, keyword + "1000.000000GHz"}}},
    };
}

std::vector<FieldChange> Joined(std::vector<FieldChange> first,
                                const std::vector<FieldChange>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

struct ModulationPage {
    const char* name;
    std::unique_ptr<CommandPage> (*make)();
    int tab;
    std::vector<std::string> defaultEvents;  // the lines and pauses of a send with the defaults
    std::vector<std::pair<int, std::string>> firstShown;  // the edit boxes when first shown
    std::vector<ComboList> lists;
    int stateBox;
    int lastLineBox;  // the box whose text ends line 4
    std::vector<FieldChange> changes;
    std::vector<Refusal> refusals;
};

// One row a line, with the pauses after it, as the pages' tables read.
// clang-format off
const std::vector<ModulationPage>& Pages() {
    static const std::vector<ModulationPage> pages = {
        {"AM", MakePage<CAM>, 2,
         {"AM:STATe ON\n",                         "pause 300",
          "AM:INTernal:FREQuency 1000.000000Hz\n", "pause 200", "pause 100",
          "AM:DEPTh 100%\n",                       "pause 100",
          "AM:INTernal:FUNCtion SINusoid\n"},
         {{1020, "100"}, {1021, "1000"}},
         {{1024, kOnOff, "ON"}, {1023, kWaveformItems, "SINusoid"}, {1022, kModulationUnits, "Hz"}},
         1024, 1023,
         Joined(FixedPointCases(1021, 1022, 1, "AM:INTernal:FREQuency "),
                {{"negative depth", {{1020, "-20"}}, {{2, "AM:DEPTh -20%"}}},
                 {"waveform", {{1023, "QUAKE", true}}, {{3, "AM:INTernal:FUNCtion QUAKE"}}},
                 {"millihertz",
                  {{1022, "mHz", true}},
                  {{1, "AM:INTernal:FREQuency 1000.000000mHz"}}}}),
         {{"fraction in the depth", 1020, "12.5"},
          {"depth in words", 1020, "twelve"},
          {"empty frequency", 1021, ""},
          {"frequency with a decimal comma", 1021, "1,5"}}},
        {"FM", MakePage<CFM>, 1,
         {"FM:STATe ON\n",                         "pause 300",
          "FM:INTernal:FREQuency 1000.000000Hz\n", "pause 100", "pause 200",
          "FM:DEViation 1000.000000Hz\n",          "pause 100",
          "FM:INTernal:FUNCtion SINusoid\n"},
         {{1014, "1000"}, {1016, "1000"}},
         {{1018, kWaveformItems, "SINusoid"},
          {1019, kOnOff, "ON"},
          {1017, kModulationUnits, "Hz"},
          {1015, kFrequencyUnits, "Hz"}},
         1019, 1018,
         Joined(FixedPointCases(1016, 1017, 1, "FM:INTernal:FREQuency "),
                {{"negative deviation", {{1014, "-2.5"}}, {{2, "FM:DEViation -2.500000Hz"}}},
                 {"deviation in megahertz",
                  {{1015, "MHz", true}},
                  {{2, "FM:DEViation 1000.000000MHz"}}},
                 {"deviation in millihertz",
                  {{1015, "mHz", true}},
                  {{2, "FM:DEViation 1000.000000mHz"}}}}),
         {{"deviation in words", 1014, "x"}, {"empty frequency", 1016, ""}}},
        {"PM", MakePage<CPM>, 3,
         {"PM:STATe ON\n",                         "pause 500",
          "PM:INTernal:FREQuency 1000.000000Hz\n", "pause 200",
          "PM:DEViation 180deg\n",                 "pause 100", "pause 100",
          "PM:INTernal:FUNCtion SINusoid\n"},
         {{1030, "180"}, {1026, "1000"}},
         {{1028, kWaveformItems, "SINusoid"}, {1029, kOnOff, "ON"}, {1027, kModulationUnits, "Hz"}},
         1029, 1028,
         Joined(FixedPointCases(1026, 1027, 1, "PM:INTernal:FREQuency "),
                {{"negative deviation", {{1030, "-90"}}, {{2, "PM:DEViation -90deg"}}}}),
         {{"fraction in the deviation", 1030, "90.5"}, {"frequency in words", 1026, "fast"}}},
        {"PWM", MakePage<CPWM>, 4,
         {"PWM:STATe ON\n",                         "pause 100", "pause 200",
          "PWM:INTernal:FREQuency 1000.000000Hz\n", "pause 200",
          "PWM:DCYCle 50%\n",                       "pause 100",
          "PWM:INTernal:FUNCtion SINusoid\n"},
         {{1031, "50"}, {1032, "1000"}},
         {{1034, kWaveformItems, "SINusoid"}, {1035, kOnOff, "ON"}, {1033, kModulationUnits, "Hz"}},
         1035, 1034,
         Joined(FixedPointCases(1032, 1033, 1, "PWM:INTernal:FREQuency "),
                {{"negative duty cycle", {{1031, "-5"}}, {{2, "PWM:DCYCle -5%"}}}}),
         {{"duty cycle with its sign", 1031, "50%"}, {"frequency with its unit", 1032, "1 kHz"}}},
        {"FSK", MakePage<CFSK>, 5,
         {"FSKey:STATe ON\n",                    "pause 300",
          "FSKey:INTernal:RATE 1000.000000Hz\n", "pause 200", "pause 100",
          "FSKey:FREQuency 4000.000000Hz\n",     "pause 100",
          "FSKey:SOURce INTernal\n"},
         {{1036, "4000"}, {1038, "1000"}},
         {{1041, kOnOff, "ON"},
          {1040, {"INTernal", "EXTernal"}, "INTernal"},
          {1039, kModulationUnits, "Hz"},
          {1037, kFrequencyUnits, "Hz"}},
         1041, 1040,
         Joined(FixedPointCases(1038, 1039, 1, "FSKey:INTernal:RATE "),
                {{"frequency in kilohertz",
                  {{1036, "2.5"}, {1037, "kHz", true}},
                  {{2, "FSKey:FREQuency 2.500000kHz"}}},
                 {"negative frequency", {{1036, "-4000"}}, {{2, "FSKey:FREQuency -4000.000000Hz"}}},
                 // The rate still goes out, before the frequency, for the external source.
                 {"external source", {{1040, "EXTernal", true}}, {{3, "FSKey:SOURce EXTernal"}}}}),
         {{"frequency in words", 1036, "abc"}, {"empty rate", 1038, ""}}},
    };
    return pages;
}
// clang-format on

const ModulationPage& PageOf(const ModulationPage& page) {
    return page;
}

// The keyword of a line and its blank, without the text that followed it.
std::string KeywordOf(const std::string& line) {
    return line.substr(0, line.rfind(' ') + 1);
}

template <typename Param>
class ModulationTest : public PageTest, public ::testing::WithParamInterface<Param> {
protected:
    CommandPage& ThePage() override { return *page; }
    const ModulationPage& Described() const { return PageOf(this->GetParam()); }
    std::vector<std::string> DefaultLines() const { return LinesOf(Described().defaultEvents); }

    std::unique_ptr<CommandPage> page = PageOf(this->GetParam()).make();
};

void PrintTo(const ModulationPage& page, std::ostream* out) {
    *out << page.name;
}

using ModulationPageTest = ModulationTest<ModulationPage>;

TEST_P(ModulationPageTest, DefaultsGoOutAsTheTableWithItsPauses) {
    page->SendCommands();

    ExpectSent(Described().defaultEvents);
}

TEST_P(ModulationPageTest, EditBoxesShowTheDefaultsWhenThePageFirstShows) {
    for (const auto& [id, text] : Described().firstShown) EXPECT_EQ(Text(id), text) << id;
}

TEST_P(ModulationPageTest, ComboBoxesHoldTheirListsInOrderAndShowTheirDefaultItem) {
    ExpectLists(Described().lists);
}

TEST_P(ModulationPageTest, SecondSendLeavesOnlyItsOwnLines) {
    page->SendCommands();
    Choose(Described().stateBox, "OFF");

    page->SendCommands();

    std::vector<std::string> second = DefaultLines();
    second[0] = KeywordOf(second[0]) + "OFF";
    EXPECT_EQ(page->m_strCommand, EveryLineEnded(second));
    EXPECT_EQ(Frames().size(), 8u);
}

TEST_P(ModulationPageTest, EmptyBoxLeavesTheKeywordAndOneBlank) {
    Type(Described().stateBox, "");
    Type(Described().lastLineBox, "");

    page->SendCommands();

    std::vector<std::string> expected = DefaultLines();
    expected[0] = KeywordOf(expected[0]);
    expected[3] = KeywordOf(expected[3]);
    EXPECT_EQ(Frames(), FramesOf(expected));
}

INSTANTIATE_TEST_SUITE_P(Pages, ModulationPageTest, ::testing::ValuesIn(Pages()));

// Every page with each of its own cases.
template <typename Case>
struct PageCase {
    const ModulationPage* page;
    Case change;
};

template <typename Case>
const ModulationPage& PageOf(const PageCase<Case>& param) {
    return *param.page;
}

template <typename Case>
void PrintTo(const PageCase<Case>& param, std::ostream* out) {
    *out << param.page->name << ": " << param.change.what;
}

template <typename Case>
std::vector<PageCase<Case>> EveryPageWith(std::vector<Case> ModulationPage::*cases) {
    std::vector<PageCase<Case>> params;
    for (const ModulationPage& page : Pages()) {
        for (const Case& change : page.*cases) params.push_back({&page, change});
    }
    return params;
}

using ModulationFieldTest = ModulationTest<PageCase<FieldChange>>;

TEST_P(ModulationFieldTest, FieldGoesOutAsEntered) {
    const FieldChange& change = GetParam().change;
    Enter(change.entries);

    page->SendCommands();

    ExpectSent(ChangedEvents(Described().defaultEvents, change));
}

INSTANTIATE_TEST_SUITE_P(Fields, ModulationFieldTest,
                         ::testing::ValuesIn(EveryPageWith(&ModulationPage::changes)));

using ModulationRefusalTest = ModulationTest<PageCase<Refusal>>;

TEST_P(ModulationRefusalTest, RefusedFieldWritesNothingAndGetsTheFocus) {
    PrepareRefusal(GetParam().change, Described().stateBox);

    SendAgain();

    ExpectRefused(GetParam().change);
}

INSTANTIATE_TEST_SUITE_P(Fields, ModulationRefusalTest,
                         ::testing::ValuesIn(EveryPageWith(&ModulationPage::refusals)));

// The pages inside the program window, reached by their tabs.
class ModulationInProgramWindowTest : public ProgramWindowTest,
                                      public ::testing::WithParamInterface<ModulationPage> {
protected:
    CommandPage& Page() { return *dialog.PageOfTab(GetParam().tab); }
};

TEST_P(ModulationInProgramWindowTest, ValidateOnTheTabSendsThePageAndTheLogShowsIt) {
    ExpectValidateOnTabSends(GetParam().tab, GetParam().defaultEvents);

    // Another tab does not clear the page's command text.
    SelectTab(0);
    SelectTab(GetParam().tab);
    EXPECT_EQ(Page().m_strCommand, EveryLineEnded(LinesOf(GetParam().defaultEvents)));
}

TEST_P(ModulationInProgramWindowTest, RefusedFieldLeavesTheLogAsItWas) {
    ExpectRefusedValidateKeepsTheLog(GetParam().tab, GetParam().refusals.front());
}

INSTANTIATE_TEST_SUITE_P(Pages, ModulationInProgramWindowTest, ::testing::ValuesIn(Pages()));

}  // namespace
