#include "link/usb_survey.h"

#include <libusb.h>

#include <memory>

#include "link/libusb_backend.h"
#include "link/usb_error_text.h"
#include "link/usb_instrument_list.h"

namespace valdrix::link {

namespace {

std::string WhyNotUsable(std::size_t index) {
    LibusbBackend backend;
    const auto device = static_cast<ULONG>(index);
    if (!backend.Open(device)) return backend.LastError();
    backend.Close(device);
    return {};
}

}  // namespace

UsbSurvey SurveyUsbInstruments() {
    libusb_context* context = nullptr;
    if (const int result = libusb_init(&context); result != 0) return {{}, UsbErrorText(result)};
    const std::unique_ptr<libusb_context, void (*)(libusb_context*)> owner(context, libusb_exit);
    const UsbInstrumentList list(context);
    if (list.Error() != 0) return {{}, UsbErrorText(list.Error())};
    UsbSurvey survey;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        survey.instruments.push_back({i, list.Location(i), list.Ids(i), WhyNotUsable(i)});
    }
    return survey;
}

}  // namespace valdrix::link
