#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct libusb_context;

namespace valdrix::link {

// Tells when an instrument chip is plugged in or unplugged, while the program waits for the
// operator: through libusb's hot-plug events where the platform has them, else by looking at
// the USB devices once a second. Runs in the thread's event loop; needs no window.
class UsbWatch {
public:
    explicit UsbWatch(std::function<void()> onChange);
    ~UsbWatch();
    UsbWatch(const UsbWatch&) = delete;
    UsbWatch& operator=(const UsbWatch&) = delete;

    // Where the position-th instrument chip is plugged in ("bus 1, port 2"), if there is one.
    std::optional<std::string> Location(std::size_t position) const;

private:
    bool WatchHotPlug();
    void HandleEvents();
    void Poll();
    std::vector<std::string> Locations() const;

    std::function<void()> m_onChange;
    libusb_context* m_context = nullptr;
    std::vector<int> m_hotPlugHandles;
    bool m_changed = false;  // set by the hot-plug callback, acted on once libusb returns
    std::vector<std::string> m_lastSeen;
    QObject m_notifiers;  // owns the socket notifiers or the poll timer
};

}  // namespace valdrix::link
