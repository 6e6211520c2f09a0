#include "link/usb_watch.h"

#include <libusb.h>
#include <sys/time.h>

#include <QSocketNotifier>
#include <QTimer>
#include <array>

#include "link/usb_ids.h"
#include "link/usb_instrument_list.h"

namespace valdrix::link {

namespace {

// Looking more often would cost the machine more than an operator gains.
constexpr int kPollIntervalMs = 1000;

int NoteChange(libusb_context*, libusb_device*, libusb_hotplug_event, void* watch) {
    *static_cast<bool*>(watch) = true;
    return 0;  // stay registered
}

}  // namespace

UsbWatch::UsbWatch(std::function<void()> onChange) : m_onChange(std::move(onChange)) {
    // Without USB on this machine there is nothing to watch; opening the link says why.
    if (libusb_init(&m_context) != 0) {
        m_context = nullptr;
        return;
    }
    if (WatchHotPlug()) return;
    m_lastSeen = Locations();
    auto* timer = new QTimer(&m_notifiers);
    QObject::connect(timer, &QTimer::timeout, [this] { Poll(); });
    timer->start(kPollIntervalMs);
}

UsbWatch::~UsbWatch() {
    if (m_context == nullptr) return;
    for (const int handle : m_hotPlugHandles) libusb_hotplug_deregister_callback(m_context, handle);
    const auto children = m_notifiers.children();
    qDeleteAll(children);
    libusb_exit(m_context);
}

bool UsbWatch::WatchHotPlug() {
    if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) return false;
    for (const std::uint16_t vendor : kChipVendors) {
        libusb_hotplug_callback_handle handle = 0;
        const int result = libusb_hotplug_register_callback(
            m_context,
            static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                              LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
            LIBUSB_HOTPLUG_NO_FLAGS, vendor, kChipProduct, LIBUSB_HOTPLUG_MATCH_ANY, NoteChange,
            &m_changed, &handle);
        if (result != LIBUSB_SUCCESS) return false;
        m_hotPlugHandles.push_back(handle);
    }
    // libusb reports hot-plug events through its own descriptors: the event loop watches them.
    const libusb_pollfd** descriptors = libusb_get_pollfds(m_context);
    if (descriptors == nullptr) return false;
    for (const libusb_pollfd** descriptor = descriptors; *descriptor != nullptr; ++descriptor) {
        auto* notifier =
            new QSocketNotifier((*descriptor)->fd, QSocketNotifier::Read, &m_notifiers);
        QObject::connect(notifier, &QSocketNotifier::activated, [this] { HandleEvents(); });
    }
    libusb_free_pollfds(descriptors);
    return true;
}

void UsbWatch::HandleEvents() {
    timeval now{0, 0};
    libusb_handle_events_timeout_completed(m_context, &now, nullptr);
    // Acted on outside libusb's callback, where opening a device is allowed.
    if (!m_changed) return;
    m_changed = false;
    m_onChange();
}

void UsbWatch::Poll() {
    std::vector<std::string> seen = Locations();
    if (seen == m_lastSeen) return;
    m_lastSeen = std::move(seen);
    m_onChange();
}

std::vector<std::string> UsbWatch::Locations() const {
    std::vector<std::string> locations;
    if (m_context == nullptr) return locations;
    const UsbInstrumentList instruments(m_context);
    for (std::size_t i = 0; i < instruments.Size(); ++i) {
        locations.push_back(instruments.Location(i));
    }
    return locations;
}

std::optional<std::string> UsbWatch::Location(std::size_t position) const {
    const std::vector<std::string> locations = Locations();
    if (position >= locations.size()) return std::nullopt;
    return locations[position];
}

}  // namespace valdrix::link
