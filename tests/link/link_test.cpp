#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "link/command_line.h"
#include "link/file_backend.h"
#include "link/instrument.h"
#include "link/link_choice.h"
#include "link/send_line.h"
#include "support/test_fixture.h"

using namespace valdrix::link;

using ::testing::HasSubstr;

namespace {

TEST_F(InstrumentTest, EachLineIsOneWriteEndedByOneLineFeedAndNothingBeyondTheBuffer) {
    OpenDevice();
    LineBuffer buffer = LineBuffer::Obtain();
    const std::string longest(1022, 'A');
    EXPECT_TRUE(SendLine(instrument, buffer, "FSKey:INTernal:RATE 1000.000000Hz").written);
    EXPECT_TRUE(
        SendLine(instrument, buffer, "*RST").written);  // nothing left of the longer line before
    EXPECT_FALSE(SendLine(instrument, buffer, longest + "A").written);
    EXPECT_TRUE(SendLine(instrument, buffer, longest).written);
    EXPECT_EQ(Frames(), (std::vector<std::string>{"FSKey:INTernal:RATE 1000.000000Hz\n",
                                                  "\x2A\x52\x53\x54\x0A", longest + "\n"}));
    EXPECT_EQ(script->writes, 3);
}

// The device is closed after a failed write so that the next send opens it anew.
TEST_F(InstrumentTest, AFailedOrShortWriteIsAFailureWithItsReasonAndClosesTheDevice) {
    LineBuffer buffer = LineBuffer::Obtain();
    const std::pair<ULONG, std::string> cases[] = {{0, "the instrument was unplugged"},
                                                   {2, "only 3 of 5 bytes reached the instrument"}};
    for (const auto& [shortBy, reason] : cases) {
        OpenDevice();
        script->failWrite = script->writes + 1;
        script->shortBy = shortBy;
        const WriteResult result = SendLine(instrument, buffer, "*RST");
        EXPECT_FALSE(result.written) << reason;
        EXPECT_TRUE(result.reason.starts_with(reason)) << result.reason;
        EXPECT_FALSE(instrument.IsOpen()) << reason;
    }
}

TEST(CommandLine, RefusesUnsafeAndOverLongLinesNamingWhatIsWrong) {
    const std::pair<std::string, const char*> refused[] = {
        {"FUNCtion " + std::string(1014, 'X'), "is 1023 characters long"},
        {"AM:STATe ON\nOFF", "0x0A"},       // would split one command in two
        {std::string("ON\0X", 4), "0x00"},  // would cut the command short
        {"FUNCtion \x1F", "0x1F"},
        {"FUNCtion \x7F", "0x7F"},
        {"FREQuency 1\xC2\xB5s", "\"\xC2\xB5\" (U+00B5) at position 12"},  // a typed non-ASCII unit
        {"AB \xE2\x82", "0xE2 at position 4"},                             // cut short
        {"\xE2\x82\xAC\xF0\x9F\x98\x80", "\"\xE2\x82\xAC\" (U+20AC) at position 1"},
        {"1\xF0\x9F\x98\x80", "(U+1F600) at position 2"},
        {"1\xC0\xB5 \xED\xA0\x80", "0xC0 at position 2"},  // overlong
        {"1 \xED\xA0\x80", "0xED at position 3"},          // a surrogate
        {"1\xC2\x9B"
         "2J",
         "holds the character U+009B at position 2;"},  // a terminal's escape
        {"A\xE2\x80\xAE"
         "B",
         "holds the character U+202E at position 2;"},  // turns the text around
    };
    for (const auto& [line, shown] : refused) {
        EXPECT_NE(RefusalOf(line).value_or("").find(shown), std::string::npos) << shown;
    }
    const std::string taken[] = {"SINusoid 1000.000000Hz, 1.000000Vpp", " ~",
                                 std::string(1022, '9')};
    for (const std::string& line : taken) EXPECT_FALSE(RefusalOf(line)) << line;
}

// A write the instrument does not take within 5 s fails rather than hanging the program.
TEST_F(InstrumentTest, AClosedInstrumentIsOpenedAgainWithFiniteTimeoutsAnOpenOneIsLeftAlone) {
    EXPECT_TRUE(instrument.EnsureOpen());
    EXPECT_TRUE(instrument.EnsureOpen());
    instrument.Close();
    EXPECT_TRUE(instrument.EnsureOpen());
    EXPECT_EQ(script->timeouts, (std::vector<std::pair<ULONG, ULONG>>{{5000, 4000}, {5000, 4000}}));
    instrument.Close();
    script->openFails = true;
    EXPECT_FALSE(instrument.EnsureOpen());
    EXPECT_EQ(instrument.LastError(), "no instrument is attached");
}

TEST(LinkChoice, ReadsEveryFormTheProgramsTakeAndNothingElse) {
    using Kind = LinkChoice::Kind;
    const std::tuple<const char*, Kind, ULONG, const char*> taken[] = {
        {"usb", Kind::Usb, 0, ""},          {"usb:3", Kind::Usb, 3, ""},
        {"sim", Kind::Simulated, 0, ""},    {"file:/tmp/out.bin", Kind::File, 0, "/tmp/out.bin"},
        {"file:a:b", Kind::File, 0, "a:b"},
    };
    for (const auto& [text, kind, index, path] : taken) {
        const auto choice = ParseLinkChoice(text).value_or(LinkChoice{Kind::Usb, 99, "refused"});
        EXPECT_EQ(std::tie(choice.kind, choice.usbIndex, choice.path),
                  std::make_tuple(kind, index, std::string(path)))
            << text;
        // What the programs write back (serve's *IDN?, the copied valdrix-cli command) reads back.
        EXPECT_EQ(ParseLinkChoice(LinkSpelling(choice))->path, choice.path) << text;
    }
    for (const char* text : {"", "usb:", "usb:-1", "usb:x", "usb:1x", "file:", "serial", "SIM"}) {
        EXPECT_FALSE(ParseLinkChoice(text)) << '"' << text << '"';
    }
}

// Each run appends, so that a script's runs leave all their frames.
TEST(FileBackend, AppendsEveryFrameAsItIsAndSaysWhyItCannotOpen) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("frames.bin").toStdString();
    for (const std::string& frame : {std::string("*RST\n"), std::string("*TRG\n\0", 6)}) {
        FileBackend run(path);
        auto length = static_cast<ULONG>(frame.size());
        EXPECT_TRUE(run.Open(0) && run.WriteData(0, frame.data(), &length)) << run.LastError();
    }
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), std::string("*RST\n*TRG\n\0", 11));
    // What to do is said for the file and its reason, never of a USB cable; the window sees the
    // link through the counting of its writes.
    const std::pair<std::string, const char*> cannotOpen[] = {
        {"/nonexistent-folder/frames.bin", "Create the folder"},
        {"/sys/kernel/notes", "Choose a file this user may write"}};
    for (const auto& [path, advice] : cannotOpen) {
        Instrument link(std::make_unique<FileBackend>(path));
        EXPECT_EQ(link.Open(false), OpenResult::NoDevice);
        EXPECT_THAT(link.LastError(), HasSubstr(path));
        EXPECT_THAT(link.Advice(), HasSubstr(advice));
    }
}

// One program may drive two instruments: each has its own transport, its own open state and its
// own count of writes.
TEST(Instrument, TwoInstrumentsInOneProgramAreWrittenIndependently) {
    QTemporaryDir folder;
    const std::string paths[] = {folder.filePath("first.bin").toStdString(),
                                 folder.filePath("second.bin").toStdString()};
    Instrument first(LinkChoice{LinkChoice::Kind::File, 0, paths[0]});
    Instrument second(LinkChoice{LinkChoice::Kind::File, 0, paths[1]});
    ASSERT_EQ(first.Open(false), OpenResult::Opened);
    ASSERT_EQ(second.Open(false), OpenResult::Opened);
    LineBuffer buffer = LineBuffer::Obtain();
    EXPECT_TRUE(SendLine(first, buffer, "*RST").written);
    EXPECT_TRUE(SendLine(second, buffer, "OUTPut ON").written);
    first.Close();
    EXPECT_TRUE(SendLine(second, buffer, "*TRG").written);
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(std::make_pair(first.Writes().linesWritten, second.Writes().linesWritten),
              std::make_pair(1ULL, 2ULL));
    const std::string expected[] = {"*RST\n", "OUTPut ON\n*TRG\n"};
    for (int i = 0; i < 2; ++i) {
        QFile file(QString::fromStdString(paths[i]));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().toStdString(), expected[i]);
    }
}

// A FIFO nobody reads fails the open at once, and one whose reader stops reading fails the write
// after the write time-out, with what was written counted: the program never hangs on it.
TEST(FileBackend, NeverWaitsOnAFifoLongerThanTheWriteTimeout) {
    QTemporaryDir folder;
    const std::string fifo = folder.filePath("fifo").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FileBackend link(fifo);
    EXPECT_FALSE(link.Open(0));
    EXPECT_NE(link.LastError().find("no program is reading"), std::string::npos);
    EXPECT_THAT(link.Advice(), HasSubstr("Start the program that reads the FIFO"));
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_TRUE(link.Open(0) && link.SetTimeout(0, 100, 0));
    const std::string flood(1 << 20, 'A');
    auto length = static_cast<ULONG>(flood.size());
    EXPECT_FALSE(link.WriteData(0, flood.data(), &length));
    EXPECT_GT(length, 0u);
    EXPECT_LT(length, flood.size());
    EXPECT_NE(link.LastError().find("took nothing for 100 ms"), std::string::npos);
    close(reader);
}

}  // namespace
