#include "pages/continous.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLocale>
#include <locale>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "page_driver.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

enum ControlId : int {
    kFreq = 1002,
    kAmplitude = 1003,
    kOffset = 1004,
    kDuty = 1005,
    kFreqUnit = 1008,
    kWaveform = 1009,
    kAmpUnit = 1010,
    kOffsetUnit = 1011,
    kPolarity = 1012,
    kAttenuation = 1013,
    kOutput = 1014,
    kOutputBox = 1054,
    kDirectRadio = 1055,
    kOutputRadio = 1056,
    kDirectBox = 1057,
};

const std::vector<std::string> kDefaultOutputLines = {
    "FUNCtion SINusoid",
    "FREQuency 1000.000000Hz",
    "VOLTage 1.000000Vpp",
    "VOLTage:OFFSet 0.000000Vdc",
    "VOLTage:ATTenuation AUTO",
    "OUTPut:POLarity NORMal",
    "OUTPut ON",
};
const std::string kDefaultDirectLine =
    "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc";

class ContinuousPageTest : public PageTest {
protected:
    CommandPage& ThePage() override { return page; }

    void UseOutputMode() { Click(Control(kOutputRadio)); }
    void UseDirectMode() { Click(Control(kDirectRadio)); }

    CContinous page;
};

unsigned TotalOf(const std::vector<unsigned>& pauses) {
    return std::accumulate(pauses.begin(), pauses.end(), 0u);
}

TEST_F(ContinuousPageTest, FieldsAndModeStartOnTheirDefaults) {
    EXPECT_EQ(Text(kFreq), "1000");
    EXPECT_EQ(Text(kAmplitude), "1");
    EXPECT_EQ(Text(kOffset), "0");
    EXPECT_EQ(Text(kDuty), "50");
    EXPECT_TRUE(IsChecked(Control(kDirectRadio)));
    EXPECT_FALSE(IsChecked(Control(kOutputRadio)));
}

TEST_F(ContinuousPageTest, ComboBoxesHoldTheirListsInOrderAndShowTheirDefaultItem) {
    ExpectLists({
        {kFreqUnit, {"MHz", "KHz", "Hz", "mHz"}, "Hz"},
        {kWaveform, kWaveformItems, "SINusoid"},
        {kAmpUnit, {"Vpp", "mVpp"}, "Vpp"},
        {kOffsetUnit, {"Vdc", "mVdc"}, "Vdc"},
        {kPolarity, {"NORMal", "INVerted"}, "NORMal"},
        {kAttenuation, {"AUTO", "0dB", "20dB", "40dB", "60dB"}, "AUTO"},
        {kOutput, {"ON", "OFF"}, "ON"},
    });
}

TEST_F(ContinuousPageTest, StartUpPreviewShowsWhatEachModeWouldSendAndWritesNothing) {
    EXPECT_EQ(Text(kOutputBox), LinesBetween(kDefaultOutputLines));
    EXPECT_EQ(Text(kDirectBox), kDefaultDirectLine + "\r\n");
    EXPECT_EQ(page.m_strCommand, kDefaultDirectLine + "\r\n");
    EXPECT_EQ(script->writes, 0);
    EXPECT_THAT(timeline->events, IsEmpty());
    EXPECT_THAT(messages, IsEmpty());
}

// Without an instrument the page still comes up with its preview, and tries no device at all.
class UnopenedContinuousPageTest : public InstrumentTest {
protected:
    QWidget host;
    CContinous page;
};

TEST_F(UnopenedContinuousPageTest, PreviewTouchesNoDevice) {
    script->openFails = true;

    ASSERT_TRUE(page.Create(page.Template().id, &host));

    EXPECT_EQ(TextOf(page.GetDlgItem(kOutputBox)), LinesBetween(kDefaultOutputLines));
    EXPECT_EQ(script->opens, 0);
    EXPECT_EQ(script->writes, 0);
    EXPECT_THAT(messages, IsEmpty());
}

TEST_F(ContinuousPageTest, RadioButtonsStayExclusiveAndACheckedOneStaysChecked) {
    UseOutputMode();
    EXPECT_TRUE(IsChecked(Control(kOutputRadio)));
    EXPECT_FALSE(IsChecked(Control(kDirectRadio)));

    UseOutputMode();
    EXPECT_TRUE(IsChecked(Control(kOutputRadio)));
    EXPECT_FALSE(IsChecked(Control(kDirectRadio)));

    UseDirectMode();
    EXPECT_TRUE(IsChecked(Control(kDirectRadio)));
    EXPECT_FALSE(IsChecked(Control(kOutputRadio)));

    UseDirectMode();
    EXPECT_TRUE(IsChecked(Control(kDirectRadio)));
    EXPECT_FALSE(IsChecked(Control(kOutputRadio)));
}

TEST_F(ContinuousPageTest, OutputModeSendsOneCommandPerSettingWithThePausesBefore) {
    Type(kDirectBox, "my notes");
    UseOutputMode();

    page.SendCommands();

    // clang-format off
    EXPECT_THAT(timeline->events, ElementsAre(
        "FUNCtion SINusoid\n",
        "pause 500", "FREQuency 1000.000000Hz\n",
        "pause 100", "VOLTage 1.000000Vpp\n",
        "pause 100", "VOLTage:OFFSet 0.000000Vdc\n",
        "pause 300", "VOLTage:ATTenuation AUTO\n",
        "pause 100", "OUTPut:POLarity NORMal\n",
        "pause 100", "OUTPut ON\n"));
    // clang-format on
    EXPECT_EQ(page.m_strCommand, LinesBetween(kDefaultOutputLines));
    EXPECT_EQ(Text(kOutputBox), LinesBetween(kDefaultOutputLines));
    EXPECT_EQ(Text(kDirectBox), "my notes");
}

TEST_F(ContinuousPageTest, DirectModeSendsTheOneCombinedLineWithoutPause) {
    Type(kOutputBox, "my notes");

    page.SendCommands();

    EXPECT_THAT(timeline->events, ElementsAre(kDefaultDirectLine + "\n"));
    EXPECT_EQ(page.m_strCommand, kDefaultDirectLine);
    EXPECT_EQ(Text(kDirectBox), kDefaultDirectLine);
    EXPECT_EQ(Text(kOutputBox), "my notes");
}

TEST_F(ContinuousPageTest, DirectLineCarriesOnlyWaveformFrequencyAmplitudeAndOffset) {
    Enter({{kWaveform, "SQUare", true},
           {kFreqUnit, "KHz", true},
           {kFreq, "10"},
           {kAmplitude, "-2"},
           {kAmpUnit, "mVpp", true},
           {kOffset, "0.5"},
           {kOffsetUnit, "mVdc", true},
           {kDuty, "10"},
           {kAttenuation, "20dB", true},
           {kPolarity, "INVerted", true},
           {kOutput, "OFF", true}});

    page.SendCommands();

    EXPECT_THAT(Frames(),
                ElementsAre("Source:Apply:SQUare 10.000000KHz, -2.000000mVpp, 0.500000mVdc\n"));
}

TEST_F(ContinuousPageTest, EachSendReplacesTheCommandTextAndFillsOnlyItsOwnBox) {
    UseOutputMode();
    page.SendCommands();
    UseDirectMode();

    page.SendCommands();

    EXPECT_EQ(page.m_strCommand, kDefaultDirectLine);
    EXPECT_EQ(Text(kOutputBox), LinesBetween(kDefaultOutputLines));
}

TEST_F(ContinuousPageTest, AfterASendTheFieldsShowTheValuesSent) {
    Type(kFreq, " 1e3 ");
    Type(kAmplitude, "2.50");

    page.SendCommands();

    EXPECT_EQ(Text(kFreq), "1000");
    EXPECT_EQ(Text(kAmplitude), "2.5");
}

struct WaveformCase {
    const char* what;
    std::vector<Entry> entries;
    std::vector<std::string> eventsToFrequency;  // from the first line to the frequency line
    unsigned totalPause;
};

void PrintTo(const WaveformCase& waveform, std::ostream* out) {
    *out << waveform.what;
}

class ContinuousWaveformTest : public ContinuousPageTest,
                               public ::testing::WithParamInterface<WaveformCase> {};

TEST_P(ContinuousWaveformTest, DutyOrSymmetryGoesOutOnlyForExactlySquareOrRamp) {
    const WaveformCase& waveform = GetParam();
    Enter(waveform.entries);
    UseOutputMode();

    page.SendCommands();

    const auto& events = timeline->events;
    ASSERT_GE(events.size(), waveform.eventsToFrequency.size());
    EXPECT_THAT(std::vector<std::string>(events.begin(),
                                         events.begin() + waveform.eventsToFrequency.size()),
                ElementsAreArray(waveform.eventsToFrequency));
    // The lines after the frequency line are the defaults whatever the waveform.
    EXPECT_THAT(
        std::vector<std::string>(events.end() - 10, events.end()),
        ElementsAre("pause 100", "VOLTage 1.000000Vpp\n", "pause 100",
                    "VOLTage:OFFSet 0.000000Vdc\n", "pause 300", "VOLTage:ATTenuation AUTO\n",
                    "pause 100", "OUTPut:POLarity NORMal\n", "pause 100", "OUTPut ON\n"));
    EXPECT_EQ(TotalOf(Pauses()), waveform.totalPause);
}

INSTANTIATE_TEST_SUITE_P(
    Waveforms, ContinuousWaveformTest,
    ::testing::Values(
        WaveformCase{"square with duty 30",
                     {{kWaveform, "SQUare", true}, {kDuty, "30"}},
                     {"FUNCtion SQUare\n", "pause 400", "SOURce:FUNCtion:SQUare:DCYCle 30%\n",
                      "pause 500", "FREQuency 1000.000000Hz\n"},
                     1600},
        WaveformCase{"ramp: a second after the symmetry line",
                     {{kWaveform, "RAMP", true}},
                     {"FUNCtion RAMP\n", "pause 400", "SOURce:FUNCtion:RAMP:SYMMetry 50%\n",
                      "pause 500", "pause 500", "FREQuency 1000.000000Hz\n"},
                     2100},
        WaveformCase{"negative duty",
                     {{kWaveform, "SQUare", true}, {kDuty, "-10"}},
                     {"FUNCtion SQUare\n", "pause 400", "SOURce:FUNCtion:SQUare:DCYCle -10%\n",
                      "pause 500", "FREQuency 1000.000000Hz\n"},
                     1600},
        WaveformCase{"typed in lower case",
                     {{kWaveform, "square"}},
                     {"FUNCtion square\n", "pause 500", "FREQuency 1000.000000Hz\n"},
                     1200},
        WaveformCase{"typed with a trailing blank",
                     {{kWaveform, "RAMP "}},
                     {"FUNCtion RAMP \n", "pause 500", "FREQuency 1000.000000Hz\n"},
                     1200},
        WaveformCase{"another item",
                     {{kWaveform, "NOISe", true}, {kDuty, "30"}},
                     {"FUNCtion NOISe\n", "pause 500", "FREQuency 1000.000000Hz\n"},
                     1200},
        WaveformCase{"empty box",
                     {{kWaveform, ""}},
                     {"FUNCtion \n", "pause 500", "FREQuency 1000.000000Hz\n"},
                     1200}));

class ContinuousOutputLineTest : public ContinuousPageTest,
                                 public ::testing::WithParamInterface<FieldChange> {};

TEST_P(ContinuousOutputLineTest, FieldGoesOutAsEntered) {
    Enter(GetParam().entries);
    UseOutputMode();

    page.SendCommands();

    const std::vector<std::string> expected = Changed(kDefaultOutputLines, GetParam());
    EXPECT_EQ(Frames(), FramesOf(expected));
    EXPECT_EQ(page.m_strCommand, LinesBetween(expected));
    EXPECT_THAT(messages, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ContinuousOutputLineTest,
    ::testing::Values(
        FieldChange{"KHz with a capital K",
                    {{kFreqUnit, "KHz", true}, {kFreq, "10"}},
                    {{1, "FREQuency 10.000000KHz"}}},
        FieldChange{"typed unit", {{kFreqUnit, "kHz"}}, {{1, "FREQuency 1000.000000kHz"}}},
        FieldChange{"lowest frequency", {{kFreq, "0"}}, {{1, "FREQuency 0.000000Hz"}}},
        FieldChange{"highest frequency", {{kFreq, "2000000"}}, {{1, "FREQuency 2000000.000000Hz"}}},
        FieldChange{"six decimals", {{kFreq, "0.25"}}, {{1, "FREQuency 0.250000Hz"}}},
        FieldChange{
            "rounded to six decimals", {{kFreq, "0.0000004"}}, {{1, "FREQuency 0.000000Hz"}}},
        FieldChange{
            "blanks around the number", {{kFreq, " 12.5 "}}, {{1, "FREQuency 12.500000Hz"}}},
        FieldChange{"negative amplitude", {{kAmplitude, "-2.5"}}, {{2, "VOLTage -2.500000Vpp"}}},
        FieldChange{"mVpp", {{kAmpUnit, "mVpp", true}}, {{2, "VOLTage 1.000000mVpp"}}},
        FieldChange{"empty amplitude unit", {{kAmpUnit, ""}}, {{2, "VOLTage 1.000000"}}},
        FieldChange{"largest amplitude",
                    {{kAmplitude, kLargestDoubleTyped}},
                    {{2, "VOLTage " + kLargestDoubleFixed + "Vpp"}}},
        FieldChange{"negative offset", {{kOffset, "-0.5"}}, {{3, "VOLTage:OFFSet -0.500000Vdc"}}},
        FieldChange{"mVdc", {{kOffsetUnit, "mVdc", true}}, {{3, "VOLTage:OFFSet 0.000000mVdc"}}},
        FieldChange{
            "attenuation", {{kAttenuation, "60dB", true}}, {{4, "VOLTage:ATTenuation 60dB"}}},
        FieldChange{"polarity", {{kPolarity, "INVerted", true}}, {{5, "OUTPut:POLarity INVerted"}}},
        FieldChange{"output off", {{kOutput, "OFF", true}}, {{6, "OUTPut OFF"}}},
        FieldChange{"empty output state", {{kOutput, ""}}, {{6, "OUTPut "}}}));

class ContinuousRefusedFieldTest : public ContinuousPageTest,
                                   public ::testing::WithParamInterface<Refusal> {
protected:
    // Besides the command text, both boxes keep what they showed, a note of the operator's too.
    void RefuseIn(ControlId modeRadio) {
        Click(Control(modeRadio));
        PrepareRefusal(GetParam(), kWaveform);
        Type(kDirectBox, "my notes");
        const std::string outputBoxBefore = Text(kOutputBox);

        SendAgain();

        ExpectRefused(GetParam());
        EXPECT_EQ(Text(kOutputBox), outputBoxBefore);
        EXPECT_EQ(Text(kDirectBox), "my notes");
    }
};

TEST_P(ContinuousRefusedFieldTest, OutputModeWritesNothingAndKeepsWhatThePageShowed) {
    RefuseIn(kOutputRadio);
}

TEST_P(ContinuousRefusedFieldTest, DirectModeWritesNothingAndKeepsWhatThePageShowed) {
    RefuseIn(kDirectRadio);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ContinuousRefusedFieldTest,
    ::testing::Values(
        Refusal{"frequency just above the range", kFreq, "2000000.5", {"0", "2000000"}},
        Refusal{"negative frequency", kFreq, "-1", {"0", "2000000"}},
        Refusal{"frequency far above", kFreq, "1e9", {"0", "2000000"}},
        Refusal{"frequency not a number", kFreq, "1 kHz", {}},
        Refusal{"empty frequency", kFreq, "", {}},
        Refusal{"offset not a number", kOffset, "abc", {}},
        Refusal{"amplitude with a decimal comma", kAmplitude, "1,5", {}},
        Refusal{"fraction in the duty", kDuty, "12.5", {}}));

TEST_F(ContinuousPageTest, ExchangeStopsAtTheFirstRefusedFieldInItsOrder) {
    // The offset is read before the amplitude, although it sits below it on the page.
    Type(kAmplitude, "one");
    Type(kOffset, "two");

    page.SendCommands();

    EXPECT_EQ(script->writes, 0);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(FocusedControl(), Control(kOffset));
}

TEST_F(ContinuousPageTest, FailedWriteEndsTheSendAndTheBoxShowsWhere) {
    script->failWrite = 3;
    UseOutputMode();

    page.SendCommands();

    EXPECT_THAT(Frames(), ElementsAre("FUNCtion SINusoid\n", "FREQuency 1000.000000Hz\n"));
    const std::string shown =
        "FUNCtion SINusoid\r\nFREQuency 1000.000000Hz\r\n"
        "VOLTage 1.000000Vpp    <-- NOT SENT: " +
        script->failReason;
    EXPECT_EQ(page.m_strCommand, shown);
    EXPECT_EQ(Text(kOutputBox), shown);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0].text, HasSubstr("VOLTage 1.000000Vpp"));
}

// A numeric locale with a decimal comma, the way a German operator's machine formats numbers;
// built from a facet so that no system locale needs to be installed.
struct DecimalComma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class GermanContinuousPageTest : public ContinuousPageTest {
protected:
    void SetUp() override {
        m_previousLocale =
            std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
        m_previousQtLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ContinuousPageTest::SetUp();
    }
    void TearDown() override {
        ContinuousPageTest::TearDown();
        QLocale::setDefault(m_previousQtLocale);
        std::locale::global(m_previousLocale);
    }

private:
    std::locale m_previousLocale;
    QLocale m_previousQtLocale;
};

TEST_F(GermanContinuousPageTest, NumbersStillGoOutWithADecimalPoint) {
    std::ostringstream german;
    german << 1000.5;
    ASSERT_EQ(german.str(), "1.000,5");
    ASSERT_EQ(QLocale().toString(1000.5), "1.000,5");
    Type(kAmplitude, "2.5");
    UseOutputMode();

    page.SendCommands();

    EXPECT_THAT(Text(kDirectBox), HasSubstr("1000.000000Hz"));
    EXPECT_EQ(Text(kFreq), "1000");
    EXPECT_THAT(Frames(), ::testing::Contains("FREQuency 1000.000000Hz\n"));
    EXPECT_THAT(Frames(), ::testing::Contains("VOLTage 2.500000Vpp\n"));
    EXPECT_THAT(messages, IsEmpty());
}

// The page inside the program window: Validate on the first tab, and the log.
class ContinuousInProgramWindowTest : public ProgramWindowTest {
protected:
    QWidget* Control(int id) const { return dialog.m_pageContinous.GetDlgItem(id); }
};

TEST_F(ContinuousInProgramWindowTest, ValidateShowsTheSentLinesInTheLog) {
    Click(Control(kOutputRadio));

    PressValidate();

    EXPECT_EQ(Frames(), FramesOf(kDefaultOutputLines));
    EXPECT_EQ(Log(), LinesBetween(kDefaultOutputLines));
    EXPECT_EQ(TextOf(Control(kOutputBox)), LinesBetween(kDefaultOutputLines));
}

TEST_F(ContinuousInProgramWindowTest, RefusedFieldLeavesTheLogAsItWas) {
    ExpectRefusedValidateKeepsTheLog(0, {"frequency above", kFreq, "2000000.5", {"0", "2000000"}});
}

// The operator types into a box and clicks Validate, so the focus leaves the box before the page
// reads it. Nothing may then swap the typed text for a list item that matches it regardless of
// case ("square" must not become SQUare, nor "mHz" MHz).
struct TypedBeforeValidate {
    const char* what;
    int box;
    std::string typed;
    std::string sentFrame;  // one of seven: a typed "square" has no duty line
};

void PrintTo(const TypedBeforeValidate& typed, std::ostream* out) {
    *out << typed.what;
}

class ContinuousTypedBeforeValidateTest
    : public ContinuousInProgramWindowTest,
      public ::testing::WithParamInterface<TypedBeforeValidate> {};

TEST_P(ContinuousTypedBeforeValidateTest, TypedTextGoesOutAsTyped) {
    Click(Control(kOutputRadio));
    Control(GetParam().box)->setFocus();
    TypeInto(Control(GetParam().box), GetParam().typed);

    PressValidate();

    EXPECT_EQ(TextOf(Control(GetParam().box)), GetParam().typed);
    EXPECT_EQ(Frames().size(), 7u);
    EXPECT_THAT(Frames(), ::testing::Contains(GetParam().sentFrame));
}

INSTANTIATE_TEST_SUITE_P(Boxes, ContinuousTypedBeforeValidateTest,
                         ::testing::Values(TypedBeforeValidate{"waveform in lower case", kWaveform,
                                                               "square", "FUNCtion square\n"},
                                           TypedBeforeValidate{"millihertz", kFreqUnit, "mHz",
                                                               "FREQuency 1000.000000mHz\n"}));

}  // namespace
