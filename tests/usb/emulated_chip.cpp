#include "usb/emulated_chip.h"

#include <fmt/format.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr unsigned kCapabilities = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                   USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                   USBDEVFS_CAP_BULK_SCATTER_GATHER;
constexpr unsigned char kBulkOut = 0x02;
constexpr char kBoundDriver[] = "ch37x_vendor";

// Device descriptor (full speed, vendor class, 8-byte control packets), one configuration with
// one vendor interface: bulk IN 0x82 and bulk OUT 0x02 of 64 bytes, interrupt IN 0x81 of 8.
std::string DescriptorsHex(std::uint16_t vendor, std::uint16_t product) {
    const auto le = [](std::uint16_t value) {
        return fmt::format("{:02X}{:02X}", value & 0xFF, value >> 8);
    };
    return "12011001FF000008" + le(vendor) + le(product) +
           "0001000000010902270001010080320904000003FF000000"
           "070582024000000705020240000007058103080001";
}

// Resolves the memory an ioctl argument points to; the handle is released with the scope.
struct Resolved {
    Resolved(UMockdevIoctlData* argument, std::size_t length)
        : data(umockdev_ioctl_data_resolve(argument, 0, length, nullptr)) {}
    ~Resolved() {
        if (data != nullptr) g_object_unref(data);
    }
    Resolved(const Resolved&) = delete;
    Resolved& operator=(const Resolved&) = delete;
    template <typename T>
    T& As() {
        return *reinterpret_cast<T*>(data->data);
    }
    UMockdevIoctlData* data;
};

void Complete(UMockdevIoctlClient* client, int result = 0, int error = 0) {
    umockdev_ioctl_client_complete(client, result, error);
}

}  // namespace

EmulatedChip::EmulatedChip(const ChipModel& model)
    : m_model(model), m_handler(umockdev_ioctl_base_new()), m_driverBound(model.driverBound) {
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(&EmulatedChip::OnIoctl), this);
}

EmulatedChip::~EmulatedChip() {
    g_signal_handlers_disconnect_by_data(m_handler, this);
    for (const Pending& pending : m_inFlight) g_object_unref(pending.urb);
    for (UMockdevIoctlData* urb : m_discarded) g_object_unref(urb);
    g_object_unref(m_handler);
}

std::string EmulatedChip::NodePath() const {
    return fmt::format("/dev/bus/usb/{:03}/{:03}", m_model.bus, m_model.address);
}

// Higher bus numbers get lower controller addresses, so that the system lists the devices in an
// order other than the instruments' numbering.
std::string EmulatedChip::SysfsPath() const {
    return fmt::format("/sys/devices/pci0000:00/0000:00:{0:02x}.0/usb{1}/{1}-{2}",
                       0xFF - m_model.bus, m_model.bus, m_model.ports);
}

std::string EmulatedChip::Description() const {
    std::string text = fmt::format("P: {}\n", SysfsPath().substr(4));
    if (m_model.withNode) text += fmt::format("N: {}\n", NodePath().substr(5));
    text += fmt::format(
        "E: DEVNAME={0}\nE: DEVTYPE=usb_device\nE: DRIVER=usb\nE: PRODUCT={1:x}/{2:x}/100\n"
        "E: TYPE=255/0/0\nE: BUSNUM={3:03}\nE: DEVNUM={4:03}\nE: SUBSYSTEM=usb\n"
        "A: bConfigurationValue=1\\n\nA: bNumConfigurations=1\nA: busnum={3}\\n\n"
        "A: devnum={4}\\n\nA: devpath={5}\nA: idVendor={1:04x}\nA: idProduct={2:04x}\n"
        "A: speed=12\\n\nH: descriptors={6}\n",
        NodePath(), m_model.vendor, m_model.product, m_model.bus, m_model.address, m_model.ports,
        DescriptorsHex(m_model.vendor, m_model.product));
    return text;
}

void EmulatedChip::ScriptWrites(std::vector<WriteOutcome> outcomes) {
    const std::lock_guard lock(m_mutex);
    m_script.assign(outcomes.begin(), outcomes.end());
}

std::vector<std::string> EmulatedChip::Payloads() const {
    const std::lock_guard lock(m_mutex);
    std::vector<std::string> payloads;
    for (const std::string& event : m_events) {
        if (event.starts_with("write ")) payloads.push_back(event.substr(6));
    }
    return payloads;
}

std::vector<std::string> EmulatedChip::Events() const {
    const std::lock_guard lock(m_mutex);
    return m_events;
}

void EmulatedChip::Record(std::string event) {
    m_events.push_back(std::move(event));
}

int EmulatedChip::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    static_cast<EmulatedChip*>(self)->Handle(client);
    return TRUE;
}

void EmulatedChip::Handle(UMockdevIoctlClient* client) {
    const std::lock_guard lock(m_mutex);
    UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            Resolved capabilities(argument, sizeof(std::uint32_t));
            capabilities.As<std::uint32_t>() = kCapabilities;
            return Complete(client);
        }
        case USBDEVFS_GETDRIVER:
            return GetDriver(client, argument);
        case USBDEVFS_IOCTL:
            return DriverIoctl(client, argument);
        case USBDEVFS_CLAIMINTERFACE:
            return Claim(client, argument);
        case USBDEVFS_RELEASEINTERFACE: {
            Resolved interface(argument, sizeof(unsigned));
            Record(fmt::format("release {}", interface.As<unsigned>()));
            return Complete(client);
        }
        case USBDEVFS_CLEAR_HALT: {
            Resolved endpoint(argument, sizeof(unsigned));
            Record(fmt::format("clear-halt 0x{:02x}", endpoint.As<unsigned>()));
            return Complete(client);
        }
        case USBDEVFS_SUBMITURB:
            return Submit(client, argument);
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            return Reap(client, argument);
        case USBDEVFS_DISCARDURB:
            return Discard(client, argument);
        case USBDEVFS_SETCONFIGURATION:
            Record("set-configuration");
            break;
        case USBDEVFS_RESET:
            Record("reset");
            break;
        case USBDEVFS_DISCONNECT_CLAIM:
            Record("disconnect-claim");
            break;
        default:
            Record(fmt::format("ioctl 0x{:x}", request));
            break;
    }
    Complete(client, -1, ENOTTY);
}

void EmulatedChip::GetDriver(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    if (!m_driverBound) return Complete(client, -1, ENODATA);
    Resolved query(argument, sizeof(usbdevfs_getdriver));
    std::strcpy(query.As<usbdevfs_getdriver>().driver, kBoundDriver);
    Complete(client);
}

void EmulatedChip::DriverIoctl(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    Resolved command(argument, sizeof(usbdevfs_ioctl));
    const usbdevfs_ioctl& ioctl = command.As<usbdevfs_ioctl>();
    if (ioctl.ioctl_code == static_cast<int>(USBDEVFS_DISCONNECT)) {
        if (!m_driverBound) return Complete(client, -1, ENODATA);
        m_driverBound = false;
        Record(fmt::format("detach {}", ioctl.ifno));
    } else if (ioctl.ioctl_code == static_cast<int>(USBDEVFS_CONNECT)) {
        m_driverBound = true;
        Record(fmt::format("attach {}", ioctl.ifno));
    } else {
        Record(fmt::format("driver ioctl 0x{:x}", ioctl.ioctl_code));
        return Complete(client, -1, ENOTTY);
    }
    Complete(client);
}

// The kernel refuses a claim while a driver or another program holds the interface.
void EmulatedChip::Claim(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    if (m_driverBound || m_model.heldByOther) return Complete(client, -1, EBUSY);
    Resolved interface(argument, sizeof(unsigned));
    Record(fmt::format("claim {}", interface.As<unsigned>()));
    Complete(client);
}

void EmulatedChip::Submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    UMockdevIoctlData* urbData =
        umockdev_ioctl_data_resolve(argument, 0, sizeof(usbdevfs_urb), nullptr);
    const auto& urb = *reinterpret_cast<usbdevfs_urb*>(urbData->data);
    if (urb.type != USBDEVFS_URB_TYPE_BULK || urb.endpoint != kBulkOut) {
        Record(fmt::format("urb type {} endpoint 0x{:02x}", urb.type, urb.endpoint));
        g_object_unref(urbData);
        return Complete(client, -1, EINVAL);
    }
    UMockdevIoctlData* payload = umockdev_ioctl_data_resolve(
        urbData, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb.buffer_length), nullptr);
    Record("write " + std::string(reinterpret_cast<const char*>(payload->data),
                                  static_cast<std::size_t>(urb.buffer_length)));
    g_object_unref(payload);
    WriteOutcome outcome;
    if (!m_script.empty()) {
        outcome = m_script.front();
        m_script.pop_front();
    }
    m_inFlight.push_back({urbData, outcome});
    Complete(client);
}

// A write completes when libusb reaps it; one that never completes stays in flight until
// libusb gives up and discards it.
void EmulatedChip::Reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    UMockdevIoctlData* urbData = nullptr;
    if (!m_discarded.empty()) {
        urbData = m_discarded.front();
        m_discarded.erase(m_discarded.begin());
        reinterpret_cast<usbdevfs_urb*>(urbData->data)->status = -ENOENT;
    } else {
        const auto done = std::find_if(m_inFlight.begin(), m_inFlight.end(),
                                       [](const Pending& p) { return p.outcome.completes; });
        if (done == m_inFlight.end()) return Complete(client, -1, EAGAIN);
        urbData = done->urb;
        auto& urb = *reinterpret_cast<usbdevfs_urb*>(urbData->data);
        urb.status = done->outcome.status;
        urb.actual_length =
            done->outcome.acceptedBytes < 0 ? urb.buffer_length : done->outcome.acceptedBytes;
        m_inFlight.erase(done);
    }
    Resolved reaped(argument, sizeof(void*));
    umockdev_ioctl_data_set_ptr(reaped.data, 0, urbData);
    g_object_unref(urbData);
    Complete(client);
}

void EmulatedChip::Discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    const auto address = *reinterpret_cast<gulong*>(argument->data);
    const auto found = std::find_if(m_inFlight.begin(), m_inFlight.end(), [&](const Pending& p) {
        return p.urb->client_addr == address;
    });
    if (found == m_inFlight.end()) return Complete(client, -1, EINVAL);
    m_discarded.push_back(found->urb);
    m_inFlight.erase(found);
    Complete(client);
}
