#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct libusb_context;
struct libusb_device;

namespace valdrix::link {

// The instrument chips on USB (ids 4348:5537 and 1a86:5537), ordered by bus number and port
// path, so that an instrument keeps its number however the system happens to list the devices.
class UsbInstrumentList {
public:
    explicit UsbInstrumentList(libusb_context* context);
    ~UsbInstrumentList();
    UsbInstrumentList(const UsbInstrumentList&) = delete;
    UsbInstrumentList& operator=(const UsbInstrumentList&) = delete;

    // The libusb error when the system's list of devices could not be had, else 0.
    int Error() const { return m_error; }
    std::size_t Size() const { return m_instruments.size(); }
    libusb_device* Device(std::size_t position) const { return m_instruments[position].device; }
    // How the operator finds the device: "USB device 4348:5537 on bus 1, port 1.4".
    std::string Describe(std::size_t position) const;
    // "4348:5537".
    std::string Ids(std::size_t position) const;
    // Where it is plugged in: "bus 1, port 1.4".
    std::string Location(std::size_t position) const;

private:
    struct Instrument {
        libusb_device* device;
        std::uint16_t vendor;
        std::uint16_t product;
        std::uint8_t bus;
        std::vector<std::uint8_t> ports;
    };

    libusb_device** m_all = nullptr;
    std::vector<Instrument> m_instruments;
    int m_error = 0;
};

}  // namespace valdrix::link
