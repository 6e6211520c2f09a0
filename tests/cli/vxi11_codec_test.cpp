#include <gtest/gtest.h>

#include "cli/onc_rpc.h"
#include "cli/vxi11_messages.h"

using namespace valdrix::cli;

namespace {

// device_write(link 7, io_timeout 1000, lock_timeout 0, END, "*RST") with AUTH_UNIX
// credentials, as a VISA library sends it.
std::string WriteCall() {
    XdrWriter call;
    call.Uint(0x1234).Uint(0).Uint(2).Uint(vxi11::kCoreProgram).Uint(1).Uint(vxi11::kDeviceWrite);
    call.Uint(1).Opaque(std::string(20, 'c')).Uint(0).Opaque({});
    call.Uint(7).Uint(1000).Uint(0).Uint(vxi11::kEnd).Opaque("*RST");
    return call.Bytes();
}

TEST(Vxi11CodecTest, ACallSplitInFragmentsIsTakenWholeAndParsed) {
    const std::string message = WriteCall();
    XdrWriter first, last;
    first.Uint(10);
    last.Uint(0x80000000u | static_cast<std::uint32_t>(message.size() - 10));
    const std::string stream =
        first.Bytes() + message.substr(0, 10) + last.Bytes() + message.substr(10) + "next";
    EXPECT_FALSE(TakeRecord(stream.substr(0, stream.size() - 5), 1024).record);
    const RecordScan scan = TakeRecord(stream, 1024);
    ASSERT_TRUE(scan.record);
    EXPECT_EQ(stream.substr(scan.consumed), "next");
    EXPECT_TRUE(TakeRecord(stream, message.size() - 1).tooLong);

    const auto call = ParseCall(*scan.record);
    ASSERT_TRUE(call);
    EXPECT_EQ(std::vector<std::uint32_t>(
                  {call->xid, call->rpcVersion, call->program, call->version, call->procedure}),
              std::vector<std::uint32_t>({0x1234, 2, vxi11::kCoreProgram, 1, 11}));
    const auto write = vxi11::ParseWrite(call->arguments);
    ASSERT_TRUE(write);
    EXPECT_EQ(std::vector<std::uint32_t>({write->link, write->ioTimeoutMs, write->flags}),
              std::vector<std::uint32_t>({7, 1000, vxi11::kEnd}));
    EXPECT_EQ(write->data, "*RST");
}

TEST(Vxi11CodecTest, MalformedMessagesAreRefused) {
    const std::string call = WriteCall();
    EXPECT_FALSE(ParseCall(call.substr(0, 30)));  // cut inside the credentials
    std::string reply = call;
    reply[7] = 1;  // a reply, not a call
    EXPECT_FALSE(ParseCall(reply));
    const std::string arguments = ParseCall(call)->arguments;
    EXPECT_FALSE(vxi11::ParseWrite(arguments.substr(0, arguments.size() - 4)));  // data cut
    EXPECT_FALSE(vxi11::ParseWrite(arguments + "more"));                         // left over
    EXPECT_FALSE(vxi11::ParseLink(XdrWriter().Uint(0x7FFFFFFF).Opaque("x").Bytes()));
}

TEST(Vxi11CodecTest, RepliesAreRecordMarkedAndPadded) {
    const std::string reply = RecordOf(AcceptedReply(
        0x1234, AcceptStat::Success, vxi11::ReadResult(vxi11::kNoError, vxi11::kReasonEnd, "1\n")));
    const std::string expected(
        "\x80\x00\x00\x28"
        "\x00\x00\x12\x34"
        "\x00\x00\x00\x01"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x04"
        "\x00\x00\x00\x02"
        "1\n\x00\x00",
        44);
    EXPECT_EQ(reply, expected);
}

TEST(Vxi11CodecTest, OnlyTheInstrumentsServedAreDevices) {
    EXPECT_EQ(vxi11::InstrumentOf("inst0", 1), 0u);
    EXPECT_EQ(vxi11::InstrumentOf("INST0", 1), 0u);
    EXPECT_EQ(vxi11::InstrumentOf("inst1", 2), 1u);
    for (const char* name : {"inst", "inst1", "inst00", "inst0x", "gpib0,1", ""}) {
        EXPECT_FALSE(vxi11::InstrumentOf(name, 1)) << name;
    }
}

}  // namespace
