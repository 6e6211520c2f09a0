#include "link/libusb_backend.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "link/ch375.h"
#include "pages/command_sender.h"
#include "pages/continous.h"
#include "support/test_fixture.h"
#include "usb/emulated_usb.h"

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

constexpr ULONG kShortTimeoutMs = 150;
const std::string kReset = "*RST";

std::string Written(const std::string& frame) {
    return "write " + frame;
}

bool WriteFrame(LibusbBackend& backend, const std::string& frame, ULONG* length, ULONG index = 0) {
    *length = static_cast<ULONG>(frame.size());
    return backend.WriteData(index, frame.data(), length);
}

bool WriteFrame(LibusbBackend& backend, const std::string& frame, ULONG index = 0) {
    ULONG length = 0;
    return WriteFrame(backend, frame, &length, index);
}

std::vector<std::string> LinesOf(const CommandSequence& sequence) {
    std::vector<std::string> lines;
    for (const CommandStep& step : sequence) lines.push_back(step.line);
    return lines;
}

class LibusbBackendTest : public InstrumentTest {
protected:
    // The program's own link: the backend behind the device calls, opened as at start-up.
    void StartLink() {
        InstallDeviceBackend(std::make_unique<LibusbBackend>());
        OpenDevice();
    }

    EmulatedUsb usb;
};

TEST_F(LibusbBackendTest, NumbersInstrumentsByBusThenPortPathFromTheFirstChosen) {
    EmulatedChip& onSecondBus = usb.Plug({.bus = 251, .ports = "1", .address = 2});
    EmulatedChip& tenthPort = usb.Plug({.bus = 250, .ports = "10", .address = 4, .vendor = 0x1a86});
    // A hub that is no instrument, and a chip behind it.
    usb.Plug({.bus = 250, .ports = "1", .address = 5, .vendor = 0x05e3, .product = 0x0608});
    EmulatedChip& behindHub = usb.Plug({.bus = 250, .ports = "1.4", .address = 6});
    EmulatedChip& secondPort = usb.Plug({.bus = 250, .ports = "2", .address = 3});
    const std::vector<EmulatedChip*> inOrder = {&behindHub, &secondPort, &tenthPort, &onSecondBus};
    const auto count = static_cast<ULONG>(inOrder.size());

    std::vector<std::vector<std::string>> expected(count);
    for (ULONG first = 0; first < count; ++first) {
        for (ULONG index = 0; first + index < count; ++index) {
            LibusbBackend backend(first);
            const std::string frame = fmt::format("usb:{} index {}\n", first, index);
            ASSERT_TRUE(backend.Open(index)) << backend.LastError();
            ASSERT_TRUE(WriteFrame(backend, frame, index)) << backend.LastError();
            expected[first + index].push_back(frame);
        }
        LibusbBackend backend(first);
        EXPECT_FALSE(backend.Open(count - first));
        EXPECT_THAT(backend.LastError(),
                    AllOf(HasSubstr("no instrument usb:4"), HasSubstr("4 found, numbered from 0")));
    }
    for (ULONG position = 0; position < count; ++position) {
        EXPECT_THAT(inOrder[position]->Payloads(), ElementsAreArray(expected[position]));
    }
}

TEST_F(LibusbBackendTest, WithoutAnInstrumentOpenFailsSayingNoneIsConnected) {
    usb.Plug({.bus = 250, .ports = "1", .vendor = 0x05e3, .product = 0x0608});
    LibusbBackend backend;

    EXPECT_FALSE(backend.Open(0));
    EXPECT_THAT(backend.LastError(),
                AllOf(HasSubstr("no instrument on USB"), HasSubstr("4348:5537 or 1a86:5537"),
                      HasSubstr("plug it in")));
}

TEST_F(LibusbBackendTest, ListedChipWithoutDeviceNodeCannotBeOpened) {
    usb.Plug({.bus = 250, .ports = "2", .withNode = false});
    LibusbBackend backend;

    EXPECT_FALSE(backend.Open(0));
    EXPECT_THAT(backend.LastError(), AllOf(HasSubstr("USB device 4348:5537 on bus 250, port 2"),
                                           HasSubstr("LIBUSB_ERROR_NO_DEVICE")));
}

TEST_F(LibusbBackendTest, BoundKernelDriverIsDetachedBeforeTheClaimAndGivenBackOnClose) {
    EmulatedChip& chip = usb.Plug({.driverBound = true});
    LibusbBackend backend;

    ASSERT_TRUE(backend.Open(0)) << backend.LastError();
    ASSERT_TRUE(WriteFrame(backend, "*CLS\n")) << backend.LastError();
    backend.Close(0);

    EXPECT_THAT(chip.Events(),
                ElementsAre("detach 0", "claim 0", Written("*CLS\n"), "release 0", "attach 0"));
}

TEST_F(LibusbBackendTest, ChipHeldByAnotherProgramIsReportedAsBusy) {
    EmulatedChip& chip = usb.Plug({.heldByOther = true});
    LibusbBackend backend;

    EXPECT_FALSE(backend.Open(0));
    EXPECT_THAT(backend.LastError(),
                AllOf(HasSubstr("cannot claim its interface 0"), HasSubstr("LIBUSB_ERROR_BUSY"),
                      HasSubstr("close the other program")));
    EXPECT_THAT(chip.Events(), IsEmpty());
}

TEST_F(LibusbBackendTest, ResetReachesTheChipAsExactlyItsFiveBytes) {
    EmulatedChip& chip = usb.Plug({});
    StartLink();

    const SendReport report = SendSingleCommand(kReset);

    EXPECT_EQ(report.outcome, SendOutcome::Sent);
    EXPECT_THAT(chip.Payloads(), ElementsAre(std::string{0x2A, 0x52, 0x53, 0x54, 0x0A}));
    EXPECT_THAT(messages, IsEmpty());
}

TEST_F(LibusbBackendTest, PageArrivesFrameByFrameInOrderWithNothingBetween) {
    EmulatedChip& chip = usb.Plug({});
    StartLink();
    const CommandSequence page = ContinuousOutputSequence(ContinuousSettings{});

    const SendReport report = SendSequence(page);

    ASSERT_EQ(report.outcome, SendOutcome::Sent);
    std::vector<std::string> expected = {"claim 0"};
    for (const std::string& frame : FramesOf(LinesOf(page))) expected.push_back(Written(frame));
    EXPECT_THAT(chip.Events(), ElementsAreArray(expected));
}

TEST_F(LibusbBackendTest, StalledWriteFailsClearsTheHaltAndTheNextPressGoesThrough) {
    EmulatedChip& chip = usb.Plug({});
    chip.ScriptWrites({{.status = -EPIPE}});
    StartLink();

    const SendReport stalled = SendSingleCommand(kReset);
    const SendReport again = SendSingleCommand(kReset);

    EXPECT_EQ(stalled.outcome, SendOutcome::Failed);
    EXPECT_THAT(stalled.reason,
                AllOf(HasSubstr("LIBUSB_ERROR_PIPE"), HasSubstr("the halt has been cleared")));
    EXPECT_EQ(again.outcome, SendOutcome::Sent);
    EXPECT_THAT(chip.Events(), ElementsAre("claim 0", Written("*RST\n"), "clear-halt 0x02",
                                           "release 0", "claim 0", Written("*RST\n")));
}

TEST_F(LibusbBackendTest, UnplugMidSendStopsTheSendAndTheChipIsFoundAgainOncePluggedBack) {
    const ChipModel model{.bus = 250, .ports = "2", .address = 7};
    EmulatedChip& chip = usb.Plug(model);
    chip.ScriptWrites({{}, {.status = -ENODEV}});
    StartLink();

    const SendReport cut = SendSequence({{"FIRSt", {}, {}}, {"SECond", {}, {}}, {"THIRd", {}, {}}});
    usb.Unplug(chip);
    const SendReport whileAway = SendSingleCommand(kReset);
    EmulatedChip& replugged = usb.Plug({.bus = 250, .ports = "2", .address = 8});
    const SendReport back = SendSingleCommand(kReset);

    EXPECT_EQ(cut.outcome, SendOutcome::Failed);
    EXPECT_THAT(cut.sentLines, ElementsAre("FIRSt"));
    EXPECT_THAT(cut.reason, AllOf(HasSubstr("LIBUSB_ERROR_NO_DEVICE"), HasSubstr("unplugged")));
    EXPECT_THAT(chip.Payloads(), ElementsAre("FIRSt\n", "SECond\n"));
    EXPECT_EQ(whileAway.outcome, SendOutcome::Failed);
    EXPECT_THAT(whileAway.reason, HasSubstr("no instrument on USB"));
    EXPECT_EQ(back.outcome, SendOutcome::Sent);
    EXPECT_THAT(replugged.Payloads(), ElementsAre("*RST\n"));
}

TEST_F(LibusbBackendTest, WriteTheChipDoesNotTakeInTimeFailsAfterTheTimeoutSet) {
    EmulatedChip& chip = usb.Plug({});
    chip.ScriptWrites({{.completes = false}});
    LibusbBackend backend;
    ASSERT_TRUE(backend.Open(0)) << backend.LastError();
    ASSERT_TRUE(backend.SetTimeout(0, kShortTimeoutMs, kShortTimeoutMs));

    ULONG length = 0;
    EXPECT_FALSE(WriteFrame(backend, "*RST\n", &length));

    EXPECT_EQ(length, 0u);
    EXPECT_THAT(backend.LastError(), HasSubstr("LIBUSB_ERROR_TIMEOUT"));
    EXPECT_TRUE(WriteFrame(backend, "*CLS\n")) << backend.LastError();
    EXPECT_THAT(chip.Payloads(), ElementsAre("*RST\n", "*CLS\n"));
}

TEST_F(LibusbBackendTest, ShortWriteFailsAndTellsHowMuchWasTaken) {
    EmulatedChip& chip = usb.Plug({});
    chip.ScriptWrites({{.acceptedBytes = 3}});
    LibusbBackend backend;
    ASSERT_TRUE(backend.Open(0)) << backend.LastError();

    ULONG length = 0;
    EXPECT_FALSE(WriteFrame(backend, "*RST\n", &length));

    EXPECT_EQ(length, 3u);
    EXPECT_THAT(backend.LastError(), HasSubstr("only 3 of 5 bytes reached the instrument"));
}

}  // namespace
