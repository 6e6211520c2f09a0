#include <gtest/gtest.h>

#include "app/program_options.h"

namespace {

TEST(ProgramOptions, WithNoOptionTheProgramUsesUsbInstrumentZero) {
    const ProgramOptions options = ParseProgramOptions({});
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.link.kind, LinkChoice::Kind::Usb);
    EXPECT_EQ(options.link.usbIndex, 0u);
}

TEST(ProgramOptions, TakesTheLinkInBothSpellings) {
    EXPECT_EQ(ParseProgramOptions({"--link", "sim"}).link.kind, LinkChoice::Kind::Simulated);
    const ProgramOptions file = ParseProgramOptions({"--link=file:/tmp/x"});
    EXPECT_EQ(file.link.kind, LinkChoice::Kind::File);
    EXPECT_EQ(file.link.path, "/tmp/x");
    EXPECT_EQ(ParseProgramOptions({"--link", "usb:2"}).link.usbIndex, 2u);
}

TEST(ProgramOptions, ExplainsWhatItCannotUnderstand) {
    EXPECT_NE(ParseProgramOptions({"--link"}).error.find("needs a value"), std::string::npos);
    EXPECT_NE(ParseProgramOptions({"--link", "serial"}).error.find("\"serial\""), std::string::npos);
    EXPECT_NE(ParseProgramOptions({"--lnk", "sim"}).error.find("\"--lnk\""), std::string::npos);
}

}  // namespace
