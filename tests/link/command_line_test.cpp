#include <gtest/gtest.h>

#include <string>

#include "link/command_line.h"

namespace {

TEST(CommandLine, TakesPrintableAsciiUpToTheBufferLimit) {
    EXPECT_FALSE(RefusalOf("Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc"));
    EXPECT_FALSE(RefusalOf("FUNCtion "));
    EXPECT_FALSE(RefusalOf(std::string(kMaxCommandLine, '9')));
}

TEST(CommandLine, RefusesALineTooLongForTheBuffer) {
    const auto refusal = RefusalOf("FUNCtion " + std::string(1014, 'X'));
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("1023 characters"), std::string::npos) << *refusal;
    EXPECT_NE(refusal->find("FUNCtion XXX"), std::string::npos) << "the message names the text";
}

TEST(CommandLine, RefusesBytesThatWouldChangeTheCommandOnTheWire) {
    struct Case {
        std::string line;
        const char* shown;
    };
    const Case cases[] = {
        {"AM:STATe ON\nOFF", "0x0A"},       // would split one command in two
        {std::string("ON\0X", 4), "0x00"},  // would cut the command short
        {"OUTPut ON\r", "0x0D"},
        {"FUNCtion \x7F", "0x7F"},
        {"FREQuency 1\xC2\xB5s", "0xC2"},   // a typed non-ASCII unit
    };
    for (const Case& c : cases) {
        const auto refusal = RefusalOf(c.line);
        ASSERT_TRUE(refusal) << c.shown;
        EXPECT_NE(refusal->find(c.shown), std::string::npos) << *refusal;
    }
}

}  // namespace
