#include "link/usb_error_text.h"

#include <fmt/format.h>
#include <libusb.h>

namespace valdrix::link {

namespace {

struct Advice {
    const char* happened;
    const char* toDo;
};

Advice AdviceFor(int libusbError) {
    switch (libusbError) {
        case LIBUSB_ERROR_ACCESS:
            return {"permission denied: this user may not use the instrument's USB device",
                    "install the udev rule 70-valdrix.rules that comes with the program (see the "
                    "README), then unplug and plug in the instrument, or log out and log in again"};
        case LIBUSB_ERROR_BUSY:
            return {"the instrument is busy: another program holds its USB interface",
                    "close the other program (another Valdrix or Quennet window, or a vendor "
                    "tool), then try again"};
        case LIBUSB_ERROR_NO_DEVICE:
            return {"the instrument is not connected: it was unplugged or switched off",
                    "plug it in and switch it on, then try again"};
        case LIBUSB_ERROR_PIPE:
            return {"the instrument refused the data and halted its input",
                    "the halt has been cleared, so try again; if it keeps refusing, switch the "
                    "instrument off and on"};
        case LIBUSB_ERROR_TIMEOUT:
            return {"the instrument did not take the data in time",
                    "check that it is switched on and not busy, then try again"};
        case LIBUSB_ERROR_IO:
            return {"the USB transfer failed",
                    "check the cable, unplug and plug in the instrument, then try again"};
        default:
            return {libusb_strerror(libusbError),
                    "unplug and plug in the instrument, then try again"};
    }
}

}  // namespace

std::string UsbErrorText(int libusbError) {
    const Advice advice = AdviceFor(libusbError);
    return fmt::format("{} ({}); {}", advice.happened, libusb_error_name(libusbError), advice.toDo);
}

}  // namespace valdrix::link
