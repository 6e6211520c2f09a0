#include <gtest/gtest.h>

#include "link/link_choice.h"

namespace {

TEST(LinkChoice, ParsesEveryFormTheProgramsTake) {
    using Kind = LinkChoice::Kind;
    struct Case {
        const char* text;
        Kind kind;
        ULONG index;
        const char* path;
    };
    const Case cases[] = {
        {"usb", Kind::Usb, 0, ""},
        {"usb:0", Kind::Usb, 0, ""},
        {"usb:3", Kind::Usb, 3, ""},
        {"sim", Kind::Simulated, 0, ""},
        {"file:/tmp/out.bin", Kind::File, 0, "/tmp/out.bin"},
        {"file:a:b", Kind::File, 0, "a:b"},
    };
    for (const Case& c : cases) {
        const auto choice = ParseLinkChoice(c.text);
        ASSERT_TRUE(choice) << c.text;
        EXPECT_EQ(choice->kind, c.kind) << c.text;
        EXPECT_EQ(choice->usbIndex, c.index) << c.text;
        EXPECT_EQ(choice->path, c.path) << c.text;
    }
}

TEST(LinkChoice, RefusesWhatItCannotUnderstand) {
    for (const char* text : {"", "usb:", "usb:-1", "usb:x", "usb:1x", "file:", "serial", "SIM"}) {
        EXPECT_FALSE(ParseLinkChoice(text)) << '"' << text << '"';
    }
}

}  // namespace
