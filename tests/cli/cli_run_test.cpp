#include "cli/cli_run.h"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <numeric>
#include <sstream>

#include "cli/default_lines.h"
#include "pages/am.h"
#include "pages/burst.h"
#include "pages/continous.h"
#include "pages/fm.h"
#include "pages/fsk.h"
#include "pages/pm.h"
#include "pages/pwm.h"
#include "pages/sweep.h"
#include "support/test_fixture.h"

using ::testing::HasSubstr;

namespace {

using Arguments = std::vector<std::string>;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The lines as the program prints them: one a line.
std::string Printed(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::string Shown(const Arguments& arguments) {
    return fmt::format("{}", fmt::join(arguments, " "));
}

Arguments Joined(Arguments first, const Arguments& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The default lines of the table row whose arguments begin these arguments, the longest one.
std::vector<std::string> DefaultsFor(const Arguments& arguments) {
    const DefaultLines* best = nullptr;
    for (const DefaultLines& row : kDefaultLines) {
        const bool begins =
            row.arguments.size() <= arguments.size() &&
            std::equal(row.arguments.begin(), row.arguments.end(), arguments.begin());
        if (begins && (best == nullptr || row.arguments.size() > best->arguments.size()))
            best = &row;
    }
    return best != nullptr ? best->lines : std::vector<std::string>{};
}

std::string FileText(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<no file>";
    return file.readAll().toStdString();
}

unsigned Total(const std::vector<unsigned>& pauses) {
    return std::accumulate(pauses.begin(), pauses.end(), 0U);
}

class CliTest : public InstrumentTest {
protected:
    // The program as it runs, with the test's recorder behind the link whatever --link says.
    CliResult Run(const Arguments& arguments) {
        return RunWith(arguments, [this](const LinkChoice&) {
            return std::make_unique<RecordingBackend>(script, timeline);
        });
    }

    // The program with the link that --link names.
    static CliResult RunOnLink(const Arguments& arguments) {
        return RunWith(arguments, MakeBackend);
    }

    std::string PathInDirectory(const std::string& name) const {
        return directory.filePath(QString::fromStdString(name)).toStdString();
    }

    void ExpectNothingWritten(const CliResult& result) const {
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(script->opens, 0);
        EXPECT_EQ(script->writes, 0);
        EXPECT_THAT(timeline->events, ::testing::IsEmpty());
    }

    QTemporaryDir directory;

private:
    static CliResult RunWith(const Arguments& arguments, const BackendMaker& makeBackend) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(arguments, out, err, makeBackend);
        return {status, out.str(), err.str()};
    }
};

TEST_F(CliTest, EveryCommandSendsThePageDefaultsByteForByte) {
    int run = 0;
    for (const DefaultLines& row : kDefaultLines) {
        SCOPED_TRACE(Shown(row.arguments));
        const std::string path = PathInDirectory(fmt::format("link{}", ++run));
        const CliResult result = RunOnLink(Joined({"--link", "file:" + path}, row.arguments));
        EXPECT_EQ(result.status, kCliSent);
        EXPECT_EQ(FileText(path), Printed(row.lines));
        EXPECT_EQ(result.out, Printed(row.lines));
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(CliTest, EachFieldOptionChangesItsOwnLine) {
    struct OptionCase {
        Arguments arguments;
        std::size_t line;  // the line that changes; the others keep the defaults
        std::string expected;
    };
    const Arguments output = {"continuous", "--mode", "output"};
    const OptionCase cases[] = {
        {{"continuous", "--waveform", "SQUare"},
         0,
         "Source:Apply:SQUare 1000.000000Hz, 1.000000Vpp, 0.000000Vdc"},
        {{"continuous", "--freq", "2.5"},
         0,
         "Source:Apply:SINusoid 2.500000Hz, 1.000000Vpp, 0.000000Vdc"},
        {{"continuous", "--freq-unit", "KHz"},
         0,
         "Source:Apply:SINusoid 1000.000000KHz, 1.000000Vpp, 0.000000Vdc"},
        {{"continuous", "--amplitude", "2.5"},
         0,
         "Source:Apply:SINusoid 1000.000000Hz, 2.500000Vpp, 0.000000Vdc"},
        {{"continuous", "--amp-unit", "mVpp"},
         0,
         "Source:Apply:SINusoid 1000.000000Hz, 1.000000mVpp, 0.000000Vdc"},
        {{"continuous", "--offset", "-1.5"},
         0,
         "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, -1.500000Vdc"},
        {{"continuous", "--offset-unit", "mVdc"},
         0,
         "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000mVdc"},
        {Joined(output, {"--waveform", "NOISe"}), 0, "FUNCtion NOISe"},
        {Joined(output, {"--freq", "0.5"}), 1, "FREQuency 0.500000Hz"},
        {Joined(output, {"--freq-unit", "MHz"}), 1, "FREQuency 1000.000000MHz"},
        {Joined(output, {"--amplitude", "250"}), 2, "VOLTage 250.000000Vpp"},
        {Joined(output, {"--amp-unit", "mVpp"}), 2, "VOLTage 1.000000mVpp"},
        {Joined(output, {"--offset", "0.25"}), 3, "VOLTage:OFFSet 0.250000Vdc"},
        {Joined(output, {"--offset-unit", "mVdc"}), 3, "VOLTage:OFFSet 0.000000mVdc"},
        {Joined(output, {"--attenuation", "20dB"}), 4, "VOLTage:ATTenuation 20dB"},
        {Joined(output, {"--polarity", "INVerted"}), 5, "OUTPut:POLarity INVerted"},
        {Joined(output, {"--output", "OFF"}), 6, "OUTPut OFF"},
        {{"fm", "--state", "OFF"}, 0, "FM:STATe OFF"},
        {{"fm", "--waveform", "RAMP"}, 3, "FM:INTernal:FUNCtion RAMP"},
        {{"fm", "--freq", "0.5"}, 1, "FM:INTernal:FREQuency 0.500000Hz"},
        {{"fm", "--freq-unit", "kHz"}, 1, "FM:INTernal:FREQuency 1000.000000kHz"},
        {{"fm", "--deviation", "2.5"}, 2, "FM:DEViation 2.500000Hz"},
        {{"fm", "--dev-unit", "kHz"}, 2, "FM:DEViation 1000.000000kHz"},
        {{"am", "--state", "OFF"}, 0, "AM:STATe OFF"},
        {{"am", "--waveform", "SQUare"}, 3, "AM:INTernal:FUNCtion SQUare"},
        {{"am", "--freq", "250.25"}, 1, "AM:INTernal:FREQuency 250.250000Hz"},
        {{"am", "--freq-unit", "kHz"}, 1, "AM:INTernal:FREQuency 1000.000000kHz"},
        {{"am", "--depth", "-20"}, 2, "AM:DEPTh -20%"},
        {{"pm", "--state", "OFF"}, 0, "PM:STATe OFF"},
        {{"pm", "--waveform", "STAIR"}, 3, "PM:INTernal:FUNCtion STAIR"},
        {{"pm", "--freq", "12"}, 1, "PM:INTernal:FREQuency 12.000000Hz"},
        {{"pm", "--freq-unit", "mHz"}, 1, "PM:INTernal:FREQuency 1000.000000mHz"},
        {{"pm", "--deviation", "-90"}, 2, "PM:DEViation -90deg"},
        {{"pwm", "--state", "OFF"}, 0, "PWM:STATe OFF"},
        {{"pwm", "--waveform", "SINC"}, 3, "PWM:INTernal:FUNCtion SINC"},
        {{"pwm", "--freq", "3"}, 1, "PWM:INTernal:FREQuency 3.000000Hz"},
        {{"pwm", "--freq-unit", "kHz"}, 1, "PWM:INTernal:FREQuency 1000.000000kHz"},
        {{"pwm", "--duty", "25"}, 2, "PWM:DCYCle 25%"},
        {{"fsk", "--state", "OFF"}, 0, "FSKey:STATe OFF"},
        {{"fsk", "--source", "EXTernal"}, 3, "FSKey:SOURce EXTernal"},
        {{"fsk", "--freq", "2.5"}, 2, "FSKey:FREQuency 2.500000Hz"},
        {{"fsk", "--freq-unit", "kHz"}, 2, "FSKey:FREQuency 4000.000000kHz"},
        {{"fsk", "--rate", "0.0000001"}, 1, "FSKey:INTernal:RATE 0.000000Hz"},
        {{"fsk", "--rate-unit", "mHz"}, 1, "FSKey:INTernal:RATE 1000.000000mHz"},
        {{"sweep", "--state", "OFF"}, 0, "SWEep:STATe OFF"},
        {{"sweep", "--start", "50"}, 1, "FREQuency:STARt 50.000000Hz"},
        {{"sweep", "--start-unit", "kHz"}, 1, "FREQuency:STARt 100.000000kHz"},
        {{"sweep", "--stop", "20000"}, 2, "FREQuency:STOP 20000.000000Hz"},
        {{"sweep", "--stop-unit", "MHz"}, 2, "FREQuency:STOP 1000.000000MHz"},
        {{"sweep", "--time", "0.5"}, 3, "SWEep:TIME 0.500000s"},
        {{"sweep", "--time-unit", "ms"}, 3, "SWEep:TIME 3.000000ms"},
        {{"sweep", "--source", "EXTernal"}, 4, "TRIGger:SOURce EXTernal"},
        {{"sweep", "--mode", "LOGarithmic"}, 5, "SWEep:SPACing LOGarithmic"},
        {{"burst", "--state", "OFF"}, 0, "BURSt:STATe OFF"},
        {{"burst", "--period", "100"}, 1, "BURSt:INTernal:PERiod 100.000000s"},
        {{"burst", "--period-unit", "ms"}, 1, "BURSt:INTernal:PERiod 0.100000ms"},
        {{"burst", "--cycles", "9"}, 2, "BURSt:NCYCles 9"},
        {{"burst", "--phase", "-90"}, 3, "BURSt:PHASe -90deg"},
        {{"burst", "--source", "EXTernal"}, 4, "TRIGger:SOURce EXTernal"},
        // Numbers as the pages' edit fields read them, with the pages' ranges, bounds included.
        {{"am", "--freq", " 250.25\t"}, 1, "AM:INTernal:FREQuency 250.250000Hz"},
        {{"am", "--freq=2.5e3"}, 1, "AM:INTernal:FREQuency 2500.000000Hz"},
        {Joined(output, {"--freq", "0"}), 1, "FREQuency 0.000000Hz"},
        {Joined(output, {"--freq", "2000000"}), 1, "FREQuency 2000000.000000Hz"},
        {{"burst", "--cycles", "1"}, 2, "BURSt:NCYCles 1"},
        {{"burst", "--cycles", "5", "--cycles", "7"}, 2, "BURSt:NCYCles 7"},
        // Text as an editable combo box takes it: unchanged, empty included.
        {{"am", "--state", ""}, 0, "AM:STATe "},
        {{"sweep", "--time-unit=GHz "}, 3, "SWEep:TIME 3.000000GHz "},
    };
    for (const OptionCase& option : cases) {
        SCOPED_TRACE(Shown(option.arguments));
        timeline->events.clear();
        std::vector<std::string> expected = DefaultsFor(option.arguments);
        ASSERT_LT(option.line, expected.size());
        expected[option.line] = option.expected;
        const CliResult result = Run(option.arguments);
        EXPECT_EQ(result.status, kCliSent) << result.err;
        EXPECT_EQ(Frames(), FramesOf(expected));
        EXPECT_EQ(result.out, Printed(expected));
    }
}

TEST_F(CliTest, ContinuousDutyGoesOutOnlyInOutputModeForSquareAndRamp) {
    struct DutyCase {
        Arguments arguments;
        std::vector<std::string> lines;
    };
    const std::vector<std::string> rest = {"FREQuency 1000.000000Hz",    "VOLTage 1.000000Vpp",
                                           "VOLTage:OFFSet 0.000000Vdc", "VOLTage:ATTenuation AUTO",
                                           "OUTPut:POLarity NORMal",     "OUTPut ON"};
    const DutyCase cases[] = {
        {{"continuous", "--mode", "output", "--waveform", "SQUare", "--duty", "25"},
         Joined({"FUNCtion SQUare", "SOURce:FUNCtion:SQUare:DCYCle 25%"}, rest)},
        {{"continuous", "--mode", "output", "--waveform", "RAMP", "--duty", "-5"},
         Joined({"FUNCtion RAMP", "SOURce:FUNCtion:RAMP:SYMMetry -5%"}, rest)},
        {{"continuous", "--mode", "output", "--waveform", "ramp", "--duty", "25"},
         Joined({"FUNCtion ramp"}, rest)},
        {{"continuous", "--waveform", "SQUare", "--duty", "25"},
         {"Source:Apply:SQUare 1000.000000Hz, 1.000000Vpp, 0.000000Vdc"}},
    };
    for (const DutyCase& duty : cases) {
        SCOPED_TRACE(Shown(duty.arguments));
        timeline->events.clear();
        const CliResult result = Run(duty.arguments);
        EXPECT_EQ(result.status, kCliSent) << result.err;
        EXPECT_EQ(Frames(), FramesOf(duty.lines));
    }
}

TEST_F(CliTest, RawSendsEachLineAsItStandsWithNoPause) {
    struct RawCase {
        Arguments arguments;
        std::vector<std::string> lines;
    };
    const RawCase cases[] = {
        {{"raw", "--", "--not-an-option", "*TRG"}, {"--not-an-option", "*TRG"}},
        {{"raw", " FREQuency  1000 ", ""}, {" FREQuency  1000 ", ""}},
        {{"raw", std::string(1022, 'A')}, {std::string(1022, 'A')}},
    };
    for (const RawCase& raw : cases) {
        SCOPED_TRACE(Shown(raw.arguments));
        timeline->events.clear();
        const CliResult result = Run(raw.arguments);
        EXPECT_EQ(result.status, kCliSent) << result.err;
        EXPECT_EQ(timeline->events, FramesOf(raw.lines));
    }
}

TEST_F(CliTest, RefusedFieldsExitTwoNamingTheFieldAndWriteNothing) {
    struct Refusal {
        Arguments arguments;
        std::string named;  // what the message must name
    };
    const Refusal refusals[] = {
        {{"continuous", "--freq", "2000000.5"}, "--freq"},
        {{"continuous", "--freq", "-0.5"}, "--freq"},
        {{"continuous", "--freq", "1,5"}, "--freq"},
        {{"continuous", "--duty", "50%"}, "--duty"},
        {{"continuous", "--mode", "Output"}, "--mode"},
        {{"am", "--freq", "inf"}, "--freq"},
        {{"am", "--freq", ""}, "--freq"},
        {{"am", "--depth", "12.5"}, "--depth"},
        {{"fm", "--deviation", "nan"}, "--deviation"},
        {{"pm", "--deviation", "0x10"}, "--deviation"},
        {{"pwm", "--duty", "99999999999"}, "--duty"},
        {{"fsk", "--rate", "1e999"}, "--rate"},
        {{"sweep", "--time", "3 s"}, "--time"},
        {{"burst", "--cycles", "0"}, "--cycles"},
        {{"burst", "--cycles", "10"}, "--cycles"},
        {{"burst", "--phase", "90deg"}, "--phase"},
        {{"burst", "--cycles", "5", "--period", "x"}, "--period"},
        {{"--dry-run", "burst", "--cycles", "10"}, "--cycles"},
        // Text goes out as typed, but only what the instrument can take, as on the panel.
        {{"am", "--state", "O\nN"}, "0x0A"},
        {{"--dry-run", "fsk", "--source", "INT\ternal"}, "0x09"},
        {{"raw", "*RST", "OUT\x7FPut ON"}, "0x7F"},
        {{"raw", std::string(1023, 'A')}, "1023 characters"},
        {{"sweep", "--mode", std::string(1009, 'L')}, "1023 characters"},
    };
    // The refusal comes before the link: a link that could not be opened changes nothing.
    script->openFails = true;
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(Shown(refusal.arguments));
        const CliResult result = Run(refusal.arguments);
        EXPECT_EQ(result.status, kCliUsageError);
        EXPECT_THAT(result.err, HasSubstr(refusal.named));
        ExpectNothingWritten(result);
    }
}

TEST_F(CliTest, BadUsageExitsTwoAndWritesNothing) {
    struct Usage {
        Arguments arguments;
        std::string named;
    };
    const Usage usages[] = {
        {{}, "COMMAND"},
        {{"--dry-run"}, "COMMAND"},
        {{"--link"}, "--link"},
        {{"--link", "serial", "reset"}, "serial"},
        {{"--link", "usb:x", "reset"}, "usb:x"},
        {{"--verbose", "reset"}, "--verbose"},
        {{"frobnicate"}, "frobnicate"},
        {{"AM"}, "AM"},
        {{"am", "--bogus", "1"}, "--bogus"},
        {{"am", "--freq"}, "--freq"},
        {{"am", "5000"}, "5000"},
        {{"am", "--dry-run"}, "--dry-run"},
        {{"sweep", "--period", "1"}, "--period"},
        {{"reset", "now"}, "now"},
        {{"raw"}, "LINE"},
        {{"raw", "--"}, "LINE"},
    };
    for (const Usage& usage : usages) {
        SCOPED_TRACE(Shown(usage.arguments));
        const CliResult result = Run(usage.arguments);
        EXPECT_EQ(result.status, kCliUsageError);
        EXPECT_THAT(result.err, HasSubstr(usage.named));
        EXPECT_THAT(result.err, HasSubstr("--help"));
        ExpectNothingWritten(result);
    }
}

TEST_F(CliTest, FailedWriteExitsOneAndWritesNothingAfterIt) {
    struct FailedWrite {
        Arguments arguments;
        int failingWrite;
        ULONG shortBy;
        std::vector<std::string> eventsBefore;  // what reached the instrument, and the pauses
        std::string failedLine;
        std::string reason;
    };
    const std::string unplugged = DeviceScript{}.failReason;
    const FailedWrite failures[] = {
        {{"am"}, 1, 0, {}, "AM:STATe ON", unplugged},
        {{"am"},
         3,
         0,
         {Frame("AM:STATe ON"), "pause 300", Frame("AM:INTernal:FREQuency 1000.000000Hz"),
          "pause 200", "pause 100"},
         "AM:DEPTh 100%",
         unplugged},
        {{"continuous", "--mode", "output"},
         2,
         0,
         {Frame("FUNCtion SINusoid"), "pause 500"},
         "FREQuency 1000.000000Hz",
         unplugged},
        {{"raw", "*CLS", "*RST", "*TRG"}, 3, 0, {Frame("*CLS"), Frame("*RST")}, "*TRG", unplugged},
        {{"reset"}, 1, 0, {}, "*RST", unplugged},
        {{"burst"},
         2,
         1,
         {Frame("BURSt:STATe ON"), "pause 200"},
         "BURSt:INTernal:PERiod 0.100000s",
         "only 31 of 32 bytes"},
    };
    for (const FailedWrite& failure : failures) {
        SCOPED_TRACE(Shown(failure.arguments));
        *script = DeviceScript{};
        script->failWrite = failure.failingWrite;
        script->shortBy = failure.shortBy;
        timeline->events.clear();

        const CliResult result = Run(failure.arguments);

        EXPECT_EQ(result.status, kCliLinkFailed);
        EXPECT_EQ(timeline->events, failure.eventsBefore);
        EXPECT_EQ(script->writes, failure.failingWrite);
        // Standard output holds exactly the lines the instrument took.
        EXPECT_EQ(result.out, fmt::format("{}", fmt::join(Frames(), "")));
        EXPECT_THAT(result.err, HasSubstr(failure.failedLine));
        EXPECT_THAT(result.err, HasSubstr(failure.reason));
    }
}

TEST_F(CliTest, LinkThatCannotBeOpenedExitsOneAndWritesNothing) {
    struct Closed {
        bool openFails;
        bool timeoutFails;
        std::string reason;
    };
    const Closed links[] = {
        {true, false, "no instrument is attached"},
        {false, true, "the instrument does not answer"},
    };
    for (const Closed& link : links) {
        SCOPED_TRACE(link.reason);
        *script = DeviceScript{};
        script->openFails = link.openFails;
        script->timeoutFails = link.timeoutFails;
        const CliResult result = Run({"burst"});
        EXPECT_EQ(result.status, kCliLinkFailed);
        EXPECT_THAT(result.err, HasSubstr(link.reason));
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(script->writes, 0);
        EXPECT_THAT(timeline->events, ::testing::IsEmpty());
    }
    const std::string unreachable = PathInDirectory("missing/link");
    const CliResult result = RunOnLink({"--link", "file:" + unreachable, "reset"});
    EXPECT_EQ(result.status, kCliLinkFailed);
    EXPECT_THAT(result.err, HasSubstr(unreachable));
    EXPECT_EQ(result.out, "");
}

TEST_F(CliTest, DryRunPrintsTheLinesWithoutWritingOrPausing) {
    int run = 0;
    for (const DefaultLines& row : kDefaultLines) {
        SCOPED_TRACE(Shown(row.arguments));
        const std::string path = PathInDirectory(fmt::format("dry{}", ++run));
        const CliResult result =
            RunOnLink(Joined({"--link", "file:" + path, "--dry-run"}, row.arguments));
        EXPECT_EQ(result.status, kCliSent);
        EXPECT_EQ(result.out, Printed(row.lines));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
        EXPECT_THAT(Pauses(), ::testing::IsEmpty());
    }
    const CliResult result = Run({"--dry-run", "sweep", "--start", "10"});
    EXPECT_EQ(result.status, kCliSent);
    EXPECT_EQ(script->opens, 0);
    EXPECT_THAT(timeline->events, ::testing::IsEmpty());
}

template <typename Page>
std::unique_ptr<CommandPage> MakePage() {
    return std::make_unique<Page>();
}

// The Continuous page in its output mode with the waveform typed into its box.
std::function<void(CommandPage&)> OutputModeWith(const std::string& waveform) {
    return [waveform](CommandPage& page) {
        auto& continuous = static_cast<CContinous&>(page);
        continuous.OnRadioOutput();
        continuous.m_cbWaveform.SetWindowText(waveform);
    };
}

TEST_F(CliTest, PausesBetweenLinesEqualThePages) {
    struct PageCase {
        Arguments arguments;
        std::function<std::unique_ptr<CommandPage>()> makePage;
        std::function<void(CommandPage&)> prepare;  // the page's fields as the arguments set them
        unsigned totalPauseMs;                      // as the pages' tables add up
    };
    const auto asItOpens = [](CommandPage&) {};
    const PageCase cases[] = {
        {{"continuous"}, MakePage<CContinous>, asItOpens, 0},
        {{"continuous", "--mode", "output"},
         MakePage<CContinous>,
         OutputModeWith("SINusoid"),
         1200},
        {{"continuous", "--mode", "output", "--waveform", "SQUare"},
         MakePage<CContinous>,
         OutputModeWith("SQUare"),
         1600},
        {{"continuous", "--mode", "output", "--waveform", "RAMP"},
         MakePage<CContinous>,
         OutputModeWith("RAMP"),
         2100},
        {{"fm"}, MakePage<CFM>, asItOpens, 700},
        {{"am"}, MakePage<CAM>, asItOpens, 700},
        {{"pm"}, MakePage<CPM>, asItOpens, 900},
        {{"pwm"}, MakePage<CPWM>, asItOpens, 600},
        {{"fsk"}, MakePage<CFSK>, asItOpens, 700},
        {{"sweep"}, MakePage<CSweep>, asItOpens, 1100},
        {{"burst"}, MakePage<CBurst>, asItOpens, 700},
    };
    for (const PageCase& pageCase : cases) {
        SCOPED_TRACE(Shown(pageCase.arguments));
        const std::unique_ptr<CommandPage> page = pageCase.makePage();
        page->Create(page->Template().id, nullptr);
        pageCase.prepare(*page);
        timeline->events.clear();
        ASSERT_EQ(page->SendCommands(), SendOutcome::Sent);
        const std::vector<std::string> pageEvents = timeline->events;
        timeline->events.clear();

        const CliResult result = Run(pageCase.arguments);

        EXPECT_EQ(result.status, kCliSent);
        EXPECT_EQ(timeline->events, pageEvents);
        EXPECT_EQ(Total(Pauses()), pageCase.totalPauseMs);
    }
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutputAndWriteNothing) {
    struct Help {
        Arguments arguments;
        std::vector<std::string> shows;
    };
    const Help helps[] = {
        {{"--help"},
         {"continuous", "fm", "am", "pm", "pwm", "fsk", "sweep", "burst", "reset", "local",
          "trigger", "raw", "--link file:PATH", "--dry-run", "COMMAND --help"}},
        {{"--link", "sim", "-h"}, {"Usage: valdrix-cli"}},
        {{"--version"}, {"valdrix-cli 1.0.0.1\n"}},
        {{"continuous", "--help"}, {"--mode direct|output", "default direct", "0 to 2000000"}},
        {{"am", "--freq", "5", "--help"}, {"--depth INTEGER", "default 100", "--freq NUMBER"}},
        {{"burst", "--help"}, {"--cycles INTEGER", "1 to 9; default 3", "default 0.1"}},
        {{"reset", "--help"}, {"*RST"}},
        {{"raw", "--help"}, {"LINE..."}},
    };
    for (const Help& help : helps) {
        SCOPED_TRACE(Shown(help.arguments));
        const CliResult result = Run(help.arguments);
        EXPECT_EQ(result.status, kCliSent);
        for (const std::string& piece : help.shows) EXPECT_THAT(result.out, HasSubstr(piece));
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(script->opens, 0);
    }
}

}  // namespace
