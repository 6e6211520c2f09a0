#include "usb/emulated_usb.h"

#include <umockdev.h>

#include <stdexcept>
#include <string>

namespace {

// Turns a GError into an exception that names what could not be done.
void ThrowOn(GError* error, const std::string& what) {
    if (error == nullptr) return;
    const std::string message = what + ": " + error->message;
    g_error_free(error);
    throw std::runtime_error(message);
}

}  // namespace

EmulatedUsb::EmulatedUsb() : m_testbed(umockdev_testbed_new()) {}

EmulatedUsb::~EmulatedUsb() {
    g_object_unref(m_testbed);
    m_chips.clear();
}

EmulatedChip& EmulatedUsb::Plug(const ChipModel& model) {
    // A bus that cannot exist keeps the emulation away from real devices whatever happens.
    if (model.bus < ChipModel::kFirstImpossibleBus) {
        throw std::invalid_argument("an emulated chip needs a bus that no machine has");
    }
    auto& chip = *m_chips.emplace_back(std::make_unique<EmulatedChip>(model));
    GError* error = nullptr;
    // The handler is in place before the device appears, so that an open never misses it.
    if (model.withNode) {
        umockdev_testbed_attach_ioctl(m_testbed, chip.NodePath().c_str(), chip.Handler(), &error);
        ThrowOn(error, "cannot emulate " + chip.NodePath());
    }
    umockdev_testbed_add_from_string(m_testbed, chip.Description().c_str(), &error);
    ThrowOn(error, "cannot add " + chip.SysfsPath());
    return chip;
}

void EmulatedUsb::Unplug(EmulatedChip& chip) {
    umockdev_testbed_uevent(m_testbed, chip.SysfsPath().c_str(), "remove");
    umockdev_testbed_remove_device(m_testbed, chip.SysfsPath().c_str());
    if (chip.Model().withNode) {
        umockdev_testbed_detach_ioctl(m_testbed, chip.NodePath().c_str(), nullptr);
    }
}
