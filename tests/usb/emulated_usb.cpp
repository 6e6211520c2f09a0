#include "usb/emulated_usb.h"

#include <gtest/gtest.h>
#include <umockdev.h>

EmulatedUsb::EmulatedUsb() : m_testbed(umockdev_testbed_new()) {}

EmulatedUsb::~EmulatedUsb() {
    g_object_unref(m_testbed);
    m_chips.clear();
}

EmulatedChip& EmulatedUsb::Plug(const ChipSpec& spec) {
    // A bus that cannot exist keeps the test away from real devices whatever happens.
    EXPECT_GE(spec.bus, ChipSpec::kFirstImpossibleBus);
    auto& chip = *m_chips.emplace_back(std::make_unique<EmulatedChip>(spec));
    // The handler is in place before the device appears, so that an open never misses it.
    if (spec.withNode) {
        GError* error = nullptr;
        EXPECT_TRUE(umockdev_testbed_attach_ioctl(m_testbed, chip.NodePath().c_str(),
                                                  chip.Handler(), &error))
            << (error != nullptr ? error->message : "");
        g_clear_error(&error);
    }
    GError* error = nullptr;
    EXPECT_TRUE(umockdev_testbed_add_from_string(m_testbed, chip.Description().c_str(), &error))
        << (error != nullptr ? error->message : "");
    g_clear_error(&error);
    return chip;
}

void EmulatedUsb::Unplug(EmulatedChip& chip) {
    umockdev_testbed_uevent(m_testbed, chip.SysfsPath().c_str(), "remove");
    umockdev_testbed_remove_device(m_testbed, chip.SysfsPath().c_str());
    if (chip.Spec().withNode) {
        umockdev_testbed_detach_ioctl(m_testbed, chip.NodePath().c_str(), nullptr);
    }
}
