#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "app/valdrix_dlg.h"
#include "res/resource_ids.h"
#include "support/panel_fixture.h"

using namespace valdrix::gui;

using ::testing::ElementsAreArray;

namespace {

enum Tab { kContinuous, kFm, kAm, kPm, kPwm, kFsk, kSweep, kBurst };

// A write, or a pause written as "pause N".
std::vector<std::string> Events(std::vector<std::string> events) {
    for (std::string& event : events) {
        if (!event.starts_with("pause ")) event += '\n';
    }
    return events;
}

std::string Joined(const std::vector<std::string>& lines, bool lastLineEnded) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return lastLineEnded || text.empty() ? text : text.substr(0, text.size() - 2);
}

struct Entry {
    int id;
    std::string text;
};

// The real panel, shown and active, with the instrument open and every write and pause recorded.
class PanelTest : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        OpenDevice();
        dlg.Create(IDD_VALDRIX_DIALOG, nullptr);
        dlg.GetSafeHwnd()->show();
        dlg.GetSafeHwnd()->activateWindow();
        QApplication::processEvents();
    }

    void SelectTab(int tab) {
        QTabBar* bar = dlg.m_tab.Bar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        ASSERT_TRUE(dlg.m_pages.PageOfTab(tab)->IsWindowVisible());
    }
    QWidget* Control(int tab, int id) { return dlg.m_pages.PageOfTab(tab)->GetDlgItem(id); }
    std::string Text(int tab, int id) { return CWnd(Control(tab, id)).GetWindowText(); }
    // Waits until the send the click made, if any, is over.
    void Click(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg.Sending(); }));
    }
    void Validate() { Click(dlg.GetDlgItem(IDC_VALIDATE)); }
    std::string Log() { return CWnd(dlg.GetDlgItem(IDC_LOG)).GetWindowText(); }

    // Types over what the field shows, as the operator does, then leaves the field.
    void Type(int tab, const Entry& entry) {
        QWidget* field = Control(tab, entry.id);
        if (auto* combo = qobject_cast<QComboBox*>(field)) field = combo->lineEdit();
        field->setFocus();
        qobject_cast<QLineEdit*>(field)->selectAll();
        QTest::keyClicks(field, QString::fromStdString(entry.text));
        if (entry.text.empty()) QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    void TypeAll(int tab, const std::vector<Entry>& entries) {
        for (const Entry& entry : entries) Type(tab, entry);
    }

    CValdrixDlg dlg{instrument};
};

struct DefaultSend {
    const char* name;
    int tab;
    std::vector<Entry> entries;
    std::vector<std::string> events;
    bool lastLineEnded;
};

class DefaultSendTest : public PanelTest, public ::testing::WithParamInterface<DefaultSend> {};

TEST_P(DefaultSendTest, ValidateWritesThePageInOrderWithItsPausesAndLogsIt) {
    const DefaultSend& row = GetParam();
    SelectTab(row.tab);
    if (row.tab == kContinuous && !row.entries.empty()) {
        Click(Control(kContinuous, IDC_CONT_RADIO_OUTPUT));
    }
    TypeAll(row.tab, row.entries);
    Validate();
    Validate();  // the second send writes the same, and the log shows that one only
    const std::vector<std::string> once = Events(row.events);
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_THAT(timeline->events, ElementsAreArray(twice));
    std::vector<std::string> lines;
    for (const std::string& event : row.events) {
        if (!event.starts_with("pause ")) lines.push_back(event);
    }
    EXPECT_EQ(Log(), Joined(lines, row.lastLineEnded));
    EXPECT_TRUE(messages.empty());
}

const std::vector<std::string> kOutputTail = {
    "pause 500", "FREQuency 1000.000000Hz",    "pause 100", "VOLTage 1.000000Vpp",
    "pause 100", "VOLTage:OFFSet 0.000000Vdc", "pause 300", "VOLTage:ATTenuation AUTO",
    "pause 100", "OUTPut:POLarity NORMal",     "pause 100", "OUTPut ON"};

std::vector<std::string> OutputMode(std::vector<std::string> head) {
    head.insert(head.end(), kOutputTail.begin(), kOutputTail.end());
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, DefaultSendTest,
    ::testing::Values(
        DefaultSend{"ContinuousDirect",
                    kContinuous,
                    {},
                    {"Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc"},
                    false},
        DefaultSend{"ContinuousOutput",
                    kContinuous,
                    {{IDC_CONT_WAVEFORM, "SINusoid"}},
                    OutputMode({"FUNCtion SINusoid"}),
                    false},
        DefaultSend{
            "ContinuousSquare",
            kContinuous,
            {{IDC_CONT_WAVEFORM, "SQUare"}},
            OutputMode({"FUNCtion SQUare", "pause 400", "SOURce:FUNCtion:SQUare:DCYCle 50%"}),
            false},
        DefaultSend{"ContinuousRamp",
                    kContinuous,
                    {{IDC_CONT_WAVEFORM, "RAMP"}},
                    OutputMode({"FUNCtion RAMP", "pause 400", "SOURce:FUNCtion:RAMP:SYMMetry 50%",
                                "pause 500"}),
                    false},
        DefaultSend{"Fm",
                    kFm,
                    {},
                    {"FM:STATe ON", "pause 300", "FM:INTernal:FREQuency 1000.000000Hz", "pause 100",
                     "pause 200", "FM:DEViation 1000.000000Hz", "pause 100",
                     "FM:INTernal:FUNCtion SINusoid"},
                    true},
        DefaultSend{"Am",
                    kAm,
                    {},
                    {"AM:STATe ON", "pause 300", "AM:INTernal:FREQuency 1000.000000Hz", "pause 200",
                     "pause 100", "AM:DEPTh 100%", "pause 100", "AM:INTernal:FUNCtion SINusoid"},
                    true},
        DefaultSend{
            "Pm",
            kPm,
            {},
            {"PM:STATe ON", "pause 500", "PM:INTernal:FREQuency 1000.000000Hz", "pause 200",
             "PM:DEViation 180deg", "pause 100", "pause 100", "PM:INTernal:FUNCtion SINusoid"},
            true},
        DefaultSend{
            "Pwm",
            kPwm,
            {},
            {"PWM:STATe ON", "pause 100", "pause 200", "PWM:INTernal:FREQuency 1000.000000Hz",
             "pause 200", "PWM:DCYCle 50%", "pause 100", "PWM:INTernal:FUNCtion SINusoid"},
            true},
        DefaultSend{
            "Fsk",
            kFsk,
            {},
            {"FSKey:STATe ON", "pause 300", "FSKey:INTernal:RATE 1000.000000Hz", "pause 200",
             "pause 100", "FSKey:FREQuency 4000.000000Hz", "pause 100", "FSKey:SOURce INTernal"},
            true},
        DefaultSend{"Sweep",
                    kSweep,
                    {},
                    {"SWEep:STATe ON", "pause 500", "FREQuency:STARt 100.000000Hz", "pause 200",
                     "FREQuency:STOP 1000.000000Hz", "pause 200", "SWEep:TIME 3.000000s",
                     "pause 100", "TRIGger:SOURce IMMediate", "pause 100", "SWEep:SPACing LINear"},
                    true},
        DefaultSend{"Burst",
                    kBurst,
                    {},
                    {"BURSt:STATe ON", "pause 200", "BURSt:INTernal:PERiod 0.100000s", "pause 200",
                     "BURSt:NCYCles 3", "pause 200", "BURSt:PHASe 0deg", "pause 100",
                     "TRIGger:SOURce IMMediate"},
                    true}),
    [](const auto& info) { return info.param.name; });

struct FieldsSend {
    const char* name;
    int tab;
    std::vector<Entry> entries;
    std::vector<std::string> lines;
};

class FieldsSendTest : public PanelTest, public ::testing::WithParamInterface<FieldsSend> {};

// Every field typed, combo boxes with text of their list or not: each value lands in its own
// place, typed text goes out exactly as typed.
TEST_P(FieldsSendTest, EachFieldGoesOutInItsPlaceAsTyped) {
    const FieldsSend& row = GetParam();
    SelectTab(row.tab);
    if (row.name == std::string("ContinuousOutput"))
        Click(Control(kContinuous, IDC_CONT_RADIO_OUTPUT));
    TypeAll(row.tab, row.entries);
    Validate();
    EXPECT_EQ(Frames(), FramesOf(row.lines));
}

const std::vector<Entry> kContinuousEntries = {
    {IDC_CONT_WAVEFORM, "square"},   {IDC_CONT_FREQ, " 2.5 "},    {IDC_CONT_FREQ_UNIT, "mHz"},
    {IDC_CONT_AMPLITUDE, "+0.25"},   {IDC_CONT_AMP_UNIT, "mVpp"}, {IDC_CONT_OFFSET, "-1.5"},
    {IDC_CONT_OFFSET_UNIT, "mVdc"},  {IDC_CONT_DUTY, "33"},       {IDC_CONT_ATTENUATION, "20dB"},
    {IDC_CONT_POLARITY, "INVerted"}, {IDC_CONT_OUTPUT, "OFF"}};

INSTANTIATE_TEST_SUITE_P(
    Pages, FieldsSendTest,
    ::testing::Values(
        FieldsSend{"ContinuousDirect",
                   kContinuous,
                   kContinuousEntries,
                   {"Source:Apply:square 2.500000mHz, 0.250000mVpp, -1.500000mVdc"}},
        FieldsSend{"ContinuousOutput",
                   kContinuous,
                   kContinuousEntries,
                   {"FUNCtion square", "FREQuency 2.500000mHz", "VOLTage 0.250000mVpp",
                    "VOLTage:OFFSet -1.500000mVdc", "VOLTage:ATTenuation 20dB",
                    "OUTPut:POLarity INVerted", "OUTPut OFF"}},
        FieldsSend{"Fm",
                   kFm,
                   {{IDC_FM_STATE, "OFF"},
                    {IDC_FM_WAVEFORM, "RAMP"},
                    {IDC_FM_MOD_FREQ, "2.5"},
                    {IDC_FM_FREQ_UNIT, "kHz"},
                    {IDC_FM_DEVIATION, "1e-3"},
                    {IDC_FM_DEV_UNIT, "mHz"}},
                   {"FM:STATe OFF", "FM:INTernal:FREQuency 2.500000kHz", "FM:DEViation 0.001000mHz",
                    "FM:INTernal:FUNCtion RAMP"}},
        FieldsSend{"Am",
                   kAm,
                   {{IDC_AM_STATE, "OFF"},
                    {IDC_AM_WAVEFORM, "NOISe"},
                    {IDC_AM_MOD_FREQ, "7"},
                    {IDC_AM_FREQ_UNIT, "mHz"},
                    {IDC_AM_DEPTH, "42"}},
                   {"AM:STATe OFF", "AM:INTernal:FREQuency 7.000000mHz", "AM:DEPTh 42%",
                    "AM:INTernal:FUNCtion NOISe"}},
        FieldsSend{"Pm",
                   kPm,
                   {{IDC_PM_STATE, "off"},
                    {IDC_PM_WAVEFORM, "TANG"},
                    {IDC_PM_MOD_FREQ, "12"},
                    {IDC_PM_FREQ_UNIT, "kHz"},
                    {IDC_PM_DEVIATION, "-90"}},
                   {"PM:STATe off", "PM:INTernal:FREQuency 12.000000kHz", "PM:DEViation -90deg",
                    "PM:INTernal:FUNCtion TANG"}},
        FieldsSend{"Pwm",
                   kPwm,
                   {{IDC_PWM_STATE, "OFF"},
                    {IDC_PWM_WAVEFORM, "CARD"},
                    {IDC_PWM_MOD_FREQ, "0.5"},
                    {IDC_PWM_FREQ_UNIT, "mHz"},
                    {IDC_PWM_DUTY, "25"}},
                   {"PWM:STATe OFF", "PWM:INTernal:FREQuency 0.500000mHz", "PWM:DCYCle 25%",
                    "PWM:INTernal:FUNCtion CARD"}},
        FieldsSend{"Fsk",
                   kFsk,
                   {{IDC_FSK_STATE, "OFF"},
                    {IDC_FSK_SOURCE, "EXTernal"},
                    {IDC_FSK_FREQ, "5"},
                    {IDC_FSK_FREQ_UNIT, "MHz"},
                    {IDC_FSK_RATE, "6"},
                    {IDC_FSK_RATE_UNIT, "kHz"}},
                   {"FSKey:STATe OFF", "FSKey:INTernal:RATE 6.000000kHz",
                    "FSKey:FREQuency 5.000000MHz", "FSKey:SOURce EXTernal"}},
        FieldsSend{
            "Sweep",
            kSweep,
            {{IDC_SWEEP_STATE, "OFF"},
             {IDC_SWEEP_START, "10"},
             {IDC_SWEEP_START_UNIT, "kHz"},
             {IDC_SWEEP_STOP, "20"},
             {IDC_SWEEP_STOP_UNIT, "MHz"},
             {IDC_SWEEP_TIME, "30"},
             {IDC_SWEEP_TIME_UNIT, "ms"},
             {IDC_SWEEP_SOURCE, "EXTernal"},
             {IDC_SWEEP_MODE, "LOGarithmic"}},
            {"SWEep:STATe OFF", "FREQuency:STARt 10.000000kHz", "FREQuency:STOP 20.000000MHz",
             "SWEep:TIME 30.000000ms", "TRIGger:SOURce EXTernal", "SWEep:SPACing LOGarithmic"}},
        FieldsSend{"Burst",
                   kBurst,
                   {{IDC_BURST_STATE, "OFF"},
                    {IDC_BURST_PERIOD, "2"},
                    {IDC_BURST_PERIOD_UNIT, "ms"},
                    {IDC_BURST_CYCLES, "+9"},
                    {IDC_BURST_PHASE, "45"},
                    {IDC_BURST_SOURCE, "EXTernal"}},
                   {"BURSt:STATe OFF", "BURSt:INTernal:PERiod 2.000000ms", "BURSt:NCYCles 9",
                    "BURSt:PHASe 45deg", "TRIGger:SOURce EXTernal"}}),
    [](const auto& info) { return info.param.name; });

struct RefusedField {
    const char* name;
    int tab;
    std::vector<Entry> entries;
    int focused;
    std::string message;
};

class RefusedFieldTest : public PanelTest, public ::testing::WithParamInterface<RefusedField> {};

// The first refused field in exchange order is named; nothing is written and the log keeps
// the last send.
TEST_P(RefusedFieldTest, NothingIsWrittenAndTheFieldHasTheFocus) {
    const RefusedField& row = GetParam();
    SelectTab(row.tab);
    Validate();
    const std::string log = Log();
    timeline->events.clear();
    TypeAll(row.tab, row.entries);
    Validate();
    EXPECT_TRUE(timeline->events.empty());
    EXPECT_EQ(messages, (std::vector<ShownMessage>{{row.message, ""}}));
    EXPECT_EQ(Log(), log);
    EXPECT_EQ(QApplication::focusWidget(), Control(row.tab, row.focused));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RefusedFieldTest,
    ::testing::Values(
        RefusedField{"FreqAboveRange",
                     kContinuous,
                     {{IDC_CONT_FREQ, "2000000.5"}},
                     IDC_CONT_FREQ,
                     "Please enter a number between 0 and 2000000."},
        RefusedField{"FreqBeforeDuty",
                     kContinuous,
                     {{IDC_CONT_DUTY, "x"}, {IDC_CONT_FREQ, "-1"}},
                     IDC_CONT_FREQ,
                     "Please enter a number between 0 and 2000000."},
        RefusedField{"DutyFraction",
                     kContinuous,
                     {{IDC_CONT_DUTY, "12.5"}},
                     IDC_CONT_DUTY,
                     "Please enter an integer."},
        RefusedField{"DeviationComma",
                     kFm,
                     {{IDC_FM_DEVIATION, "1,5"}},
                     IDC_FM_DEVIATION,
                     "Please enter a number. The decimal separator is a point: 1.5, not 1,5."},
        RefusedField{
            "RateEmpty", kFsk, {{IDC_FSK_RATE, ""}}, IDC_FSK_RATE, "Please enter a number."},
        RefusedField{"CyclesBelow",
                     kBurst,
                     {{IDC_BURST_CYCLES, "0"}},
                     IDC_BURST_CYCLES,
                     "Please enter an integer between 1 and 9."},
        RefusedField{"CyclesAbove",
                     kBurst,
                     {{IDC_BURST_CYCLES, "10"}},
                     IDC_BURST_CYCLES,
                     "Please enter an integer between 1 and 9."},
        RefusedField{"PhaseBeforeCycles",
                     kBurst,
                     {{IDC_BURST_CYCLES, "10"}, {IDC_BURST_PHASE, "x"}},
                     IDC_BURST_PHASE,
                     "Please enter an integer."}),
    [](const auto& info) { return info.param.name; });

TEST_F(PanelTest, ContinuousBoxesPreviewBothModesAndASendFillsOnlyItsOwn) {
    const std::string direct = "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc";
    const std::string output =
        Joined({"FUNCtion SINusoid", "FREQuency 1000.000000Hz", "VOLTage 1.000000Vpp",
                "VOLTage:OFFSet 0.000000Vdc", "VOLTage:ATTenuation AUTO", "OUTPut:POLarity NORMal",
                "OUTPut ON"},
               false);
    EXPECT_EQ(Text(kContinuous, IDC_CONT_DIRECT_CMD), direct + "\r\n");
    EXPECT_EQ(Text(kContinuous, IDC_CONT_OUTPUT_CMD), output);
    EXPECT_TRUE(timeline->events.empty());

    Click(Control(kContinuous, IDC_CONT_RADIO_OUTPUT));
    Type(kContinuous, {IDC_CONT_FREQ, "2e3"});
    Validate();
    EXPECT_EQ(Text(kContinuous, IDC_CONT_DIRECT_CMD), direct + "\r\n");
    EXPECT_THAT(Text(kContinuous, IDC_CONT_OUTPUT_CMD),
                ::testing::HasSubstr("FREQuency 2000.000000Hz"));
    EXPECT_EQ(Text(kContinuous, IDC_CONT_FREQ), "2000");
    EXPECT_FALSE(
        qobject_cast<QAbstractButton*>(Control(kContinuous, IDC_CONT_RADIO_DIRECT))->isChecked());
}

TEST_F(PanelTest, BurstOnceWritesOnlyTheTriggerAndLeavesTheLog) {
    for (int tab : {kSweep, kBurst}) {
        SelectTab(tab);
        Validate();
        const std::string log = Log();
        timeline->events.clear();
        Type(tab, {tab == kSweep ? IDC_SWEEP_TIME : IDC_BURST_CYCLES, "not read"});
        Click(Control(tab, IDC_BURST_ONCE));
        EXPECT_EQ(timeline->events, Events({"*TRG"}));
        EXPECT_EQ(Log(), log);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(PanelTest, FailedWriteStopsTheSendAndTheLogMarksTheLine) {
    SelectTab(kAm);
    script->failWrite = 2;
    Validate();
    EXPECT_EQ(Frames(), FramesOf({"AM:STATe ON"}));
    EXPECT_EQ(Log(),
              "AM:STATe ON\r\nAM:INTernal:FREQuency 1000.000000Hz    <-- NOT SENT: "
              "the instrument was unplugged\r\n");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "ERROR");
    EXPECT_THAT(messages[0].text, ::testing::HasSubstr("\"AM:INTernal:FREQuency 1000.000000Hz\""));
}

}  // namespace
