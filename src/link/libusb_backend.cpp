#include "link/libusb_backend.h"

#include <fmt/format.h>
#include <libusb.h>

#include <climits>
#include <cstdint>
#include <optional>

#include "link/usb_error_text.h"
#include "link/usb_ids.h"
#include "link/usb_instrument_list.h"

namespace valdrix::link {

namespace {

constexpr int kInterface = 0;
constexpr unsigned char kBulkOut = 0x02;

// "4348:5537 or 1a86:5537"
std::string ChipIds() {
    std::string ids;
    for (const std::uint16_t vendor : kChipVendors) {
        ids += fmt::format("{}{:04x}:{:04x}", ids.empty() ? "" : " or ", vendor, kChipProduct);
    }
    return ids;
}

std::string NotConnectedText(std::uint64_t position, std::size_t found) {
    constexpr char kToDo[] = "plug it in, switch it on and check the cable";
    if (found == 0) {
        return fmt::format("no instrument on USB (no device with id {}); {}", ChipIds(), kToDo);
    }
    return fmt::format("no instrument usb:{} on USB: {} found, numbered from 0; {}", position,
                       found, kToDo);
}

bool IsBulkOut(const libusb_endpoint_descriptor& endpoint) {
    return endpoint.bEndpointAddress == kBulkOut &&
           (endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) == LIBUSB_TRANSFER_TYPE_BULK;
}

bool InterfaceHasBulkOut(const libusb_config_descriptor& config) {
    if (config.bNumInterfaces <= kInterface) return false;
    const libusb_interface& interface = config.interface[kInterface];
    if (interface.num_altsetting < 1) return false;
    const libusb_interface_descriptor& setting = interface.altsetting[0];
    for (int i = 0; i < setting.bNumEndpoints; ++i) {
        if (IsBulkOut(setting.endpoint[i])) return true;
    }
    return false;
}

// Why the device cannot be the instrument's chip, read from the descriptors the system keeps:
// nothing is sent to the device.
std::optional<std::string> EndpointProblem(libusb_device* device) {
    libusb_config_descriptor* config = nullptr;
    const int result = libusb_get_active_config_descriptor(device, &config);
    if (result != 0) return "cannot read its configuration: " + UsbErrorText(result);
    const bool suitable = InterfaceHasBulkOut(*config);
    libusb_free_config_descriptor(config);
    if (suitable) return std::nullopt;
    return "it is not the instrument's chip: its interface 0 has no bulk OUT endpoint 0x02";
}

unsigned LibusbTimeout(ULONG milliseconds) {
    return milliseconds == kNoTimeout ? 0 : static_cast<unsigned>(milliseconds);
}

}  // namespace

LibusbBackend::~LibusbBackend() {
    for (auto& [index, chip] : m_open) Release(chip);
    m_open.clear();
    if (m_context != nullptr) libusb_exit(m_context);
}

bool LibusbBackend::Fail(std::string reason, bool advises) {
    m_lastError = std::move(reason);
    m_lastErrorAdvises = advises;
    return false;
}

bool LibusbBackend::EnsureContext() {
    if (m_context != nullptr) return true;
    const int result = libusb_init(&m_context);
    if (result == 0) return true;
    m_context = nullptr;
    return Fail("USB cannot be used on this machine: " + UsbErrorText(result));
}

bool LibusbBackend::Open(ULONG index) {
    Close(index);
    if (!EnsureContext()) return false;
    const UsbInstrumentList instruments(m_context);
    if (instruments.Error() != 0) {
        return Fail("cannot list the USB devices: " + UsbErrorText(instruments.Error()));
    }
    const std::uint64_t position = std::uint64_t{m_firstDevice} + index;
    if (position >= instruments.Size()) return Fail(NotConnectedText(position, instruments.Size()));
    OpenChip chip;
    if (!OpenChipAt(instruments.Device(position), instruments.Describe(position), chip)) {
        return false;
    }
    m_open[index] = chip;
    return true;
}

bool LibusbBackend::OpenChipAt(libusb_device* device, const std::string& name, OpenChip& chip) {
    if (const auto problem = EndpointProblem(device)) return Fail(name + ": " + *problem, false);
    const int result = libusb_open(device, &chip.handle);
    if (result != 0) return Fail(name + ": " + UsbErrorText(result));
    if (TakeInterface(chip, name)) return true;
    Release(chip);
    return false;
}

// Nothing goes to the chip before the first write: setting its configuration, even the active
// one, would reset it. A kernel driver is detached only where one is bound.
bool LibusbBackend::TakeInterface(OpenChip& chip, const std::string& name) {
    const int driver = libusb_kernel_driver_active(chip.handle, kInterface);
    if (driver == 1) {
        const int result = libusb_detach_kernel_driver(chip.handle, kInterface);
        if (result != 0) {
            return Fail(name + ": cannot detach the kernel driver from its interface 0: " +
                        UsbErrorText(result));
        }
        chip.driverDetached = true;
    } else if (driver < 0 && driver != LIBUSB_ERROR_NOT_SUPPORTED) {
        return Fail(name + ": cannot see whether a kernel driver holds its interface 0: " +
                    UsbErrorText(driver));
    }
    const int claimed = libusb_claim_interface(chip.handle, kInterface);
    if (claimed != 0)
        return Fail(name + ": cannot claim its interface 0: " + UsbErrorText(claimed));
    return true;
}

bool LibusbBackend::SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG) {
    const auto chip = m_open.find(index);
    if (chip == m_open.end()) {
        return Fail(fmt::format("USB instrument {} is not open", index), false);
    }
    chip->second.writeTimeoutMs = LibusbTimeout(writeTimeoutMs);
    return true;
}

bool LibusbBackend::WriteData(ULONG index, const void* buffer, ULONG* length) {
    const ULONG wanted = *length;
    *length = 0;
    // A write cut short fails with no libusb reason: the general advice goes with it.
    m_lastErrorAdvises = false;
    const auto chip = m_open.find(index);
    if (chip == m_open.end()) {
        return Fail(fmt::format("USB instrument {} is not open", index), false);
    }
    if (wanted > INT_MAX) {
        return Fail(fmt::format("{} bytes are too many for one write", wanted), false);
    }
    int transferred = 0;
    // libusb takes the data of an OUT transfer through a non-const pointer; it only reads it.
    auto* data = static_cast<unsigned char*>(const_cast<void*>(buffer));
    const int result =
        libusb_bulk_transfer(chip->second.handle, kBulkOut, data, static_cast<int>(wanted),
                             &transferred, chip->second.writeTimeoutMs);
    *length = static_cast<ULONG>(transferred);
    if (result == LIBUSB_ERROR_PIPE && !ClearStall(chip->second)) return false;
    // A short transfer returns true with the count; the caller reports it and ends the line.
    return result == 0 || Fail(UsbErrorText(result));
}

// A stalled endpoint stays halted until the host clears it: without this, every later write
// would fail the same way.
bool LibusbBackend::ClearStall(const OpenChip& chip) {
    const int result = libusb_clear_halt(chip.handle, kBulkOut);
    if (result == 0) return true;
    return Fail(
        fmt::format("the instrument refused the data and halted its input ({}), and the "
                    "halt could not be cleared: {}",
                    libusb_error_name(LIBUSB_ERROR_PIPE), UsbErrorText(result)));
}

void LibusbBackend::Close(ULONG index) {
    const auto chip = m_open.find(index);
    if (chip == m_open.end()) return;
    Release(chip->second);
    m_open.erase(chip);
}

// Each step may fail on a device that was unplugged; the handle is given up all the same.
void LibusbBackend::Release(OpenChip& chip) {
    libusb_release_interface(chip.handle, kInterface);
    if (chip.driverDetached) libusb_attach_kernel_driver(chip.handle, kInterface);
    libusb_close(chip.handle);
    chip.handle = nullptr;
}

}  // namespace valdrix::link
