#pragma once

#include <string>

namespace valdrix::link {

// What the operator reads when a libusb call fails: what happened, libusb's name for it, and
// what to do about it. One sentence without a closing full stop: callers put their context
// before it and their own punctuation after it.
std::string UsbErrorText(int libusbError);

}  // namespace valdrix::link
