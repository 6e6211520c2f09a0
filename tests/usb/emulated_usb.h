#pragma once

#include <memory>
#include <vector>

#include "usb/emulated_chip.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

// A USB bus of this process only: umockdev's testbed with the chips a test plugs in. libusb in
// this process sees these chips and nothing else. Needs umockdev's preload library.
class EmulatedUsb {
public:
    EmulatedUsb();
    ~EmulatedUsb();
    EmulatedUsb(const EmulatedUsb&) = delete;
    EmulatedUsb& operator=(const EmulatedUsb&) = delete;

    // The chip stays valid as long as this bus, plugged in or not.
    EmulatedChip& Plug(const ChipModel& model);
    // The device leaves as on a real unplug: the system tells its listeners, then forgets it.
    void Unplug(EmulatedChip& chip);

private:
    UMockdevTestbed* m_testbed;
    std::vector<std::unique_ptr<EmulatedChip>> m_chips;
};
