#include "cli/cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "support/test_fixture.h"

using namespace valdrix::cli;
using namespace valdrix::link;

using ::testing::HasSubstr;

namespace {

using Arguments = std::vector<std::string>;

// The program with the test's recorder behind the link, whatever --link says.
class CliTest : public InstrumentTest {
protected:
    int Run(const Arguments& arguments, const std::string& input = "") {
        out.str("");
        err.str("");
        std::istringstream in(input);
        return RunCli(arguments, in, out, err, [this](const LinkChoice&) {
            return std::make_unique<RecordingBackend>(script, timeline);
        });
    }
    std::ostringstream out;
    std::ostringstream err;
};

// A page's field options land in its lines as the panel's fields do, and the page's pauses
// are kept.
TEST_F(CliTest, FieldOptionsGoWhereThePanelPutsThemWithThePagesPauses) {
    EXPECT_EQ(Run({"--link", "sim", "am", "--depth", "42", "--freq=7", "--freq-unit", "mHz",
                   "--waveform", "NOISe", "--state", "OFF"}),
              kCliSent);
    EXPECT_EQ(timeline->events,
              (std::vector<std::string>{
                  "AM:STATe OFF\n", "pause 300", "AM:INTernal:FREQuency 7.000000mHz\n", "pause 200",
                  "pause 100", "AM:DEPTh 42%\n", "pause 100", "AM:INTernal:FUNCtion NOISe\n"}));
    EXPECT_EQ(out.str(),
              "AM:STATe OFF\nAM:INTernal:FREQuency 7.000000mHz\nAM:DEPTh 42%\n"
              "AM:INTernal:FUNCtion NOISe\n");
    EXPECT_EQ(Run({"--dry-run", "continuous", "--mode", "output", "--waveform", "RAMP", "--duty",
                   "30", "--offset", "-1.5", "--amplitude", "2", "--freq", "3"}),
              kCliSent);
    EXPECT_THAT(out.str(), HasSubstr("FUNCtion RAMP\nSOURce:FUNCtion:RAMP:SYMMetry 30%\n"
                                     "FREQuency 3.000000Hz\nVOLTage 2.000000Vpp\n"
                                     "VOLTage:OFFSet -1.500000Vdc\n"));
    EXPECT_EQ(Run({"--dry-run", "sweep", "--start", "1", "--stop", "2", "--time", "4",
                   "--start-unit", "kHz", "--stop-unit", "MHz"}),
              kCliSent);
    EXPECT_THAT(out.str(), HasSubstr("FREQuency:STARt 1.000000kHz\nFREQuency:STOP 2.000000MHz\n"
                                     "SWEep:TIME 4.000000s\n"));
}

TEST_F(CliTest, RefusalsWriteNothingAndExitWithUsageError) {
    const std::vector<std::pair<Arguments, std::string>> refused = {
        {{"burst", "--cycles", "10"}, "Please enter an integer between 1 and 9."},
        {{"burst", "--cycles", "0"}, "between 1 and 9"},
        {{"continuous", "--freq", "2000000.5"}, "between 0 and 2000000"},
        {{"fm", "--freq", "nan"}, "Please enter a number."},
        {{"pm", "--deviation", "1.5"}, "Please enter an integer."},
        {{"continuous", "--mode", "sideways"}, "not one of direct|output"},
        {{"am", "--bogus", "1"}, "unknown option --bogus"},
        {{"am", "--freq"}, "--freq needs a value"},
        {{"reset", "now"}, "takes no argument"},
        {{"raw", "OUTPut\tON"}, "<0x09>"},
        {{"--link", "serial", "reset"}, "unknown link"},
        {{"nothing"}, "unknown COMMAND"},
        {{"continuous", "--output", "OFF", "--duty", "10"},
         "--output is used by --mode output only"},
        {{"fm", "--freq", "\x1b]0;x\a"}, "\"<0x1B>]0;x<0x07>\""},
        {{"raw", "-"}, "standard input holds no command line"},
        {{"--dry-run", "--", "--dry-run"}, "unknown COMMAND \"--dry-run\""},
        {{"fm", "--", "--freq", "2"}, "unexpected argument"},
        {{}, "no COMMAND"},
        {{"--setup", "b.valdrix", "raw", "*RST"}, "--setup does not apply to raw lines"},
        {{"--setup=x.valdrix", "raw", "-"}, "--setup does not apply to raw lines"},
        {{"continuous", "--setup", ""}, "--setup needs a FILE"},
        {{"--setup=", "continuous"}, "--setup needs a FILE"},
        {{"continuous", "--setup", "/dev/zero"},
         "\"/dev/zero\" cannot be used: it is not a regular file"},
        {{"burst", "--period", "12e9223372036854775807"}, "Please enter a number."},
    };
    for (const auto& [arguments, complaint] : refused) {
        EXPECT_EQ(Run(arguments), kCliUsageError) << complaint;
        EXPECT_THAT(err.str(), HasSubstr(complaint));
    }
    EXPECT_TRUE(timeline->events.empty());
    EXPECT_EQ(script->opens, 0);
}

TEST_F(CliTest, ProgramOptionsStandAnywhereBeforeTheEndOfOptions) {
    EXPECT_EQ(Run({"trigger", "--dry-run"}), kCliSent);
    EXPECT_EQ(Run({"--", "reset"}), kCliSent);
    EXPECT_EQ(Run({"raw", "--", "--dry-run"}), kCliSent);
    EXPECT_EQ(timeline->events, (std::vector<std::string>{"*RST\n", "--dry-run\n"}));
    EXPECT_EQ(Run({"am", "-V"}), kCliSent);
    EXPECT_THAT(out.str(), HasSubstr("valdrix-cli 1.0.0.1"));
}

// A script on standard input: comments and blank lines skipped, a refused line refuses the
// whole script by its line number, a failed one stops it there.
TEST_F(CliTest, RawScriptFromStandardInputNamesTheLineAtFault) {
    EXPECT_EQ(Run({"raw", "-"}, "# set up\n*CLS\n\n  \n*TRG\r\n"), kCliSent);
    EXPECT_EQ(timeline->events, (std::vector<std::string>{"*CLS\n", "*TRG\n"}));
    EXPECT_EQ(Run({"raw", "-"}, "*CLS\n#\nA\tB\n"), kCliUsageError);
    EXPECT_THAT(err.str(), HasSubstr("line 3: "));
    script->failWrite = 4;
    EXPECT_EQ(Run({"raw", "-"}, "*CLS\n\n*RST\n"), kCliLinkFailed);
    EXPECT_THAT(err.str(), HasSubstr("stopped at line 3: *RST"));
    EXPECT_EQ(timeline->Frames().size(), 3u);
    // An input that never ends stops at a bound, named by its line.
    EXPECT_EQ(Run({"raw", "-"}, "*CLS\n" + std::string(4000, 'A')), kCliUsageError);
    EXPECT_THAT(err.str(),
                HasSubstr("line 2 of standard input is longer than the 1022 characters"));
    std::string endless;
    for (int line = 0; line <= 100000; ++line) endless += "*TRG\n";
    EXPECT_EQ(Run({"raw", "-"}, endless), kCliUsageError);
    EXPECT_THAT(err.str(), HasSubstr("line 100001 of standard input: a script holds at most"));
}

// A printed setup, as printed or with a byte-order mark before it, sends what its options
// send, digit for digit; a file far too large for a setup is refused with its name.
TEST_F(CliTest, APrintedSetupSendsWhatItsOptionsSend) {
    QTemporaryDir folder;
    const std::string file = folder.filePath("fm.valdrix").toStdString();
    const Arguments options = {"--dry-run", "fm", "--freq", "1234567890.1234567"};
    Arguments print = options;
    print.push_back("--print-setup");
    ASSERT_EQ(Run(options), kCliSent);
    const std::string sent = out.str();
    ASSERT_EQ(Run(print), kCliSent);
    const std::string printed = out.str();
    for (const std::string& text : {printed, "\xEF\xBB\xBF" + printed}) {
        std::ofstream(file, std::ios::trunc) << text;
        EXPECT_EQ(Run({"--dry-run", "fm", "--setup", file}), kCliSent) << err.str();
        EXPECT_EQ(out.str(), sent);
    }
    std::ofstream(file, std::ios::trunc) << std::string(1 << 20, '#') << '\n' << printed;
    EXPECT_EQ(Run({"--dry-run", "fm", "--setup", file}), kCliUsageError);
    EXPECT_THAT(err.str(), HasSubstr(file + "\" cannot be used: it is larger than 1 MiB"));
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
    out.setstate(std::ios::badbit);
    std::istringstream in;
    EXPECT_EQ(RunCli({"--dry-run", "reset"}, in, out, err), kCliLinkFailed);
    EXPECT_THAT(err.str(), HasSubstr("cannot write to standard output"));
}

TEST_F(CliTest, FailedLinkExitsWithOneAndSaysWhy) {
    script->failWrite = 2;
    EXPECT_EQ(Run({"raw", "*CLS", "*TRG", "*RST"}), kCliLinkFailed);
    EXPECT_EQ(out.str(), "*CLS\n");
    EXPECT_THAT(err.str(), HasSubstr(script->failReason));
    script->openFails = true;
    EXPECT_EQ(Run({"reset"}), kCliLinkFailed);
    EXPECT_THAT(err.str(), HasSubstr("cannot open the instrument"));
}

TEST_F(CliTest, HelpListsEachOptionWithItsRangeChoicesAndDefault) {
    EXPECT_EQ(Run({"continuous", "--help"}), kCliSent);
    EXPECT_THAT(out.str(), HasSubstr("--freq NUMBER           0 to 2000000; default 1000\n"));
    EXPECT_THAT(out.str(), HasSubstr("--mode direct|output    default direct\n"));
    EXPECT_THAT(out.str(),
                HasSubstr("--freq-unit TEXT        the panel offers MHz KHz Hz mHz; default Hz\n"));
    EXPECT_EQ(Run({"--help"}), kCliSent);
    for (const char* command : {"continuous", "fm", "am", "pm", "pwm", "fsk", "sweep", "burst",
                                "reset", "local", "trigger", "raw"}) {
        EXPECT_THAT(out.str(), HasSubstr(std::string("  ") + command + " "));
    }
}

}  // namespace
