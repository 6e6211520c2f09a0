#include "cli/cli_arguments.h"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::string>;
using Request = CliArguments::Request;
using Kind = LinkChoice::Kind;

TEST(CliArguments, ProgramOptionsComeBeforeTheCommandAndTheRestIsTheCommands) {
    struct Case {
        Arguments arguments;
        Kind kind;
        ULONG usbIndex;
        std::string path;
        bool dryRun;
        std::string command;
        Arguments commandArguments;
    };
    const Case cases[] = {
        {{"am"}, Kind::Usb, 0, "", false, "am", {}},
        {{"--link", "usb:2", "am", "--freq", "5"}, Kind::Usb, 2, "", false, "am", {"--freq", "5"}},
        {{"--link=sim", "--dry-run", "reset"}, Kind::Simulated, 0, "", true, "reset", {}},
        {{"--dry-run", "--link", "file:/tmp/wire", "raw", "--dry-run", "--link"},
         Kind::File,
         0,
         "/tmp/wire",
         true,
         "raw",
         {"--dry-run", "--link"}},
        {{"--link", "usb", "--link", "sim", "burst"}, Kind::Simulated, 0, "", false, "burst", {}},
        {{"sweep", "--help"}, Kind::Usb, 0, "", false, "sweep", {"--help"}},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(fmt::format("{}", fmt::join(expected.arguments, " ")));
        const CliArguments parsed = ParseCliArguments(expected.arguments);
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.request, Request::Command);
        EXPECT_EQ(parsed.link.kind, expected.kind);
        EXPECT_EQ(parsed.link.usbIndex, expected.usbIndex);
        EXPECT_EQ(parsed.link.path, expected.path);
        EXPECT_EQ(parsed.dryRun, expected.dryRun);
        EXPECT_EQ(parsed.command, expected.command);
        EXPECT_EQ(parsed.commandArguments, expected.commandArguments);
    }
}

TEST(CliArguments, HelpAndVersionNeedNoCommand) {
    struct Case {
        Arguments arguments;
        Request request;
    };
    const Case cases[] = {
        {{"--help"}, Request::ProgramHelp},
        {{"-h"}, Request::ProgramHelp},
        {{"--dry-run", "--help", "am"}, Request::ProgramHelp},
        {{"--version"}, Request::Version},
        {{"--link", "sim", "--version"}, Request::Version},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(fmt::format("{}", fmt::join(expected.arguments, " ")));
        const CliArguments parsed = ParseCliArguments(expected.arguments);
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.request, expected.request);
    }
}

TEST(CliArguments, ArgumentsThatCannotBeUnderstoodAreNamed) {
    struct Case {
        Arguments arguments;
        std::string named;
    };
    const Case cases[] = {
        {{}, "no COMMAND"},
        {{"--link", "sim"}, "no COMMAND"},
        {{"--link"}, "--link needs a value"},
        {{"--link", "file:"}, "\"file:\""},
        {{"--link=usb:-1", "am"}, "\"usb:-1\""},
        {{"--quiet", "am"}, "\"--quiet\""},
        {{"-n", "am"}, "\"-n\""},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(fmt::format("{}", fmt::join(expected.arguments, " ")));
        const CliArguments parsed = ParseCliArguments(expected.arguments);
        EXPECT_NE(parsed.error.find(expected.named), std::string::npos) << parsed.error;
    }
}

}  // namespace
