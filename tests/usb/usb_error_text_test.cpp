#include "link/usb_error_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libusb.h>

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// Each failure the operator can act on names what happened, libusb's name for it, and the
// remedy; the callers add the full stop.
TEST(UsbErrorText, SaysWhatHappenedAndWhatToDo) {
    struct Case {
        int error;
        const char* happened;
        const char* remedy;
    };
    const Case cases[] = {
        {LIBUSB_ERROR_ACCESS, "permission denied", "install the udev rule 70-valdrix.rules"},
        {LIBUSB_ERROR_ACCESS, "may not use", "log out and log in again"},
        {LIBUSB_ERROR_BUSY, "another program holds", "close the other program"},
        {LIBUSB_ERROR_NO_DEVICE, "unplugged or switched off", "plug it in"},
        {LIBUSB_ERROR_PIPE, "halted its input", "the halt has been cleared"},
        {LIBUSB_ERROR_TIMEOUT, "did not take the data in time", "switched on and not busy"},
        {LIBUSB_ERROR_IO, "transfer failed", "check the cable"},
        {LIBUSB_ERROR_NO_MEM, "Insufficient memory", "unplug and plug in the instrument"},
    };
    for (const Case& c : cases) {
        EXPECT_THAT(UsbErrorText(c.error),
                    AllOf(HasSubstr(c.happened), HasSubstr(libusb_error_name(c.error)),
                          HasSubstr(c.remedy), Not(EndsWith("."))));
    }
}

}  // namespace
