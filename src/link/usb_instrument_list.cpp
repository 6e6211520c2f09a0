#include "link/usb_instrument_list.h"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <libusb.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "link/usb_ids.h"

namespace valdrix::link {

namespace {

// USB allows at most seven tiers, so a port path has at most seven numbers.
constexpr int kMaxPortPath = 7;

bool IsInstrumentChip(const libusb_device_descriptor& descriptor) {
    return descriptor.idProduct == kChipProduct &&
           std::find(kChipVendors.begin(), kChipVendors.end(), descriptor.idVendor) !=
               kChipVendors.end();
}

std::vector<std::uint8_t> PortPath(libusb_device* device) {
    std::array<std::uint8_t, kMaxPortPath> ports{};
    const int count = libusb_get_port_numbers(device, ports.data(), kMaxPortPath);
    if (count <= 0) return {};
    return {ports.begin(), ports.begin() + count};
}

}  // namespace

UsbInstrumentList::UsbInstrumentList(libusb_context* context) {
    const ssize_t count = libusb_get_device_list(context, &m_all);
    if (count < 0) {
        m_error = static_cast<int>(count);
        m_all = nullptr;
        return;
    }
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(m_all[i], &descriptor) != 0) continue;
        if (!IsInstrumentChip(descriptor)) continue;
        m_instruments.push_back({m_all[i], descriptor.idVendor, descriptor.idProduct,
                                 libusb_get_bus_number(m_all[i]), PortPath(m_all[i])});
    }
    std::sort(m_instruments.begin(), m_instruments.end(),
              [](const Instrument& a, const Instrument& b) {
                  return std::tie(a.bus, a.ports) < std::tie(b.bus, b.ports);
              });
}

UsbInstrumentList::~UsbInstrumentList() {
    if (m_all != nullptr) libusb_free_device_list(m_all, 1);
}

std::string UsbInstrumentList::Ids(std::size_t position) const {
    const Instrument& instrument = m_instruments[position];
    return fmt::format("{:04x}:{:04x}", instrument.vendor, instrument.product);
}

std::string UsbInstrumentList::Describe(std::size_t position) const {
    return fmt::format("USB device {} on {}", Ids(position), Location(position));
}

std::string UsbInstrumentList::Location(std::size_t position) const {
    const Instrument& instrument = m_instruments[position];
    return fmt::format("bus {}, port {}", instrument.bus, fmt::join(instrument.ports, "."));
}

}  // namespace valdrix::link
