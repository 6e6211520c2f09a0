// The libusb backend against CH372 chips that umockdev emulates in this process.
#include "link/libusb_backend.h"

#include <dlfcn.h>
#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libusb.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

#include "link/instrument.h"
#include "link/send_line.h"
#include "link/usb_error_text.h"
#include "link/usb_survey.h"
#include "support/test_fixture.h"

using namespace valdrix::link;

namespace {

using namespace ::testing;

// What the chip does with one bulk write; writes not scripted are taken whole. A short write
// needs no chip: the link's own tests have it.
struct WriteOutcome {
    int status = 0;         // the transfer's status as the kernel gives it: 0, -EPIPE, -ENODEV
    bool completes = true;  // false: never, until libusb gives up and discards the transfer
};

// Where an emulated chip sits. Buses from 64 on exist on no real machine (the kernel numbers at
// most 63), so a test that loses its chip finds nothing rather than a real device, even as root.
struct ChipModel {
    int bus = 250;
    std::string ports = "1";  // port path, "1" or "1.4"
    int address = 2;
    std::uint16_t vendor = 0x4348;
    std::uint16_t product = 0x5537;
    bool driverBound = false;               // a kernel driver holds interface 0
    std::vector<WriteOutcome> writes = {};  // what becomes of the first writes
};

using Data = std::unique_ptr<UMockdevIoctlData, void (*)(gpointer)>;

// The memory that an ioctl's argument points to, as long as the result lives.
Data Resolve(UMockdevIoctlData* argument, std::size_t length, std::size_t offset = 0) {
    return {umockdev_ioctl_data_resolve(argument, offset, length, nullptr), g_object_unref};
}

template <typename T>
T& As(const Data& data) {
    return *reinterpret_cast<T*>(data->data);
}

// One CH372 as the kernel's usbfs shows it to libusb. It records what is done to it, in order
// ("claim 0", "release 0", "detach 0", "attach 0", "clear-halt 0x02", "write <bytes>"), and
// answers each bulk write on 0x02 as scripted.
class EmulatedChip {
public:
    explicit EmulatedChip(const ChipModel& model) : model(model) {
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(&EmulatedChip::OnIoctl), this);
    }
    ~EmulatedChip() {
        g_signal_handlers_disconnect_by_data(handler, this);
        if (m_urb != nullptr) g_object_unref(m_urb);
        g_object_unref(handler);
    }

    std::vector<std::string> Events() const {
        const std::lock_guard lock(m_mutex);
        return m_events;
    }

    const ChipModel model;
    UMockdevIoctlBase* const handler = umockdev_ioctl_base_new();

private:
    // On umockdev's thread. Each handler returns 0 or the errno that the ioctl fails with.
    static int OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, EmulatedChip* self) {
        const std::lock_guard lock(self->m_mutex);
        const int error = self->Handle(umockdev_ioctl_client_get_request(client),
                                       umockdev_ioctl_client_get_arg(client));
        umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error);
        return TRUE;
    }

    int Handle(unsigned long request, UMockdevIoctlData* argument) {
        const auto number = [argument] {
            return As<unsigned>(Resolve(argument, sizeof(unsigned)));
        };
        switch (request) {
            case USBDEVFS_GETDRIVER:
                if (!m_driverBound) return ENODATA;
                std::strcpy(
                    As<usbdevfs_getdriver>(Resolve(argument, sizeof(usbdevfs_getdriver))).driver,
                    "ch37x_vendor");
                return 0;
            case USBDEVFS_IOCTL:
                return DriverIoctl(As<usbdevfs_ioctl>(Resolve(argument, sizeof(usbdevfs_ioctl))));
            case USBDEVFS_CLAIMINTERFACE:  // refused while a kernel driver holds the interface
                return m_driverBound ? EBUSY : Record(fmt::format("claim {}", number()));
            case USBDEVFS_RELEASEINTERFACE: return Record(fmt::format("release {}", number()));
            case USBDEVFS_CLEAR_HALT: return Record(fmt::format("clear-halt 0x{:02x}", number()));
            case USBDEVFS_SUBMITURB: return Submit(Resolve(argument, sizeof(usbdevfs_urb)));
            case USBDEVFS_REAPURBNDELAY: return Reap(argument);
            case USBDEVFS_DISCARDURB:  // libusb gives up on a write; it then reaps it as cancelled
                if (m_urb == nullptr) return EINVAL;
                m_outcome = {.status = -ENOENT};
                return 0;
        }
        // Anything else (capabilities, configuration, reset) fails: libusb takes a kernel's
        // defaults for the capabilities, and the backend must send nothing else.
        return ENOTTY;
    }

    int DriverIoctl(const usbdevfs_ioctl& command) {
        const auto code = static_cast<unsigned long>(command.ioctl_code);
        if (code != USBDEVFS_DISCONNECT && code != USBDEVFS_CONNECT) return ENOTTY;
        if (code == USBDEVFS_DISCONNECT && !m_driverBound) return ENODATA;
        m_driverBound = code == USBDEVFS_CONNECT;
        return Record(fmt::format("{} {}", m_driverBound ? "attach" : "detach", command.ifno));
    }

    // libusb has one transfer in flight at a time here.
    int Submit(Data urbData) {
        const auto& urb = As<usbdevfs_urb>(urbData);
        if (urb.type != USBDEVFS_URB_TYPE_BULK || urb.endpoint != 0x02 || m_urb) return EINVAL;
        const auto length = static_cast<std::size_t>(urb.buffer_length);
        const Data payload = Resolve(urbData.get(), length, offsetof(usbdevfs_urb, buffer));
        Record("write " + std::string(reinterpret_cast<const char*>(payload->data), length));
        m_urb = urbData.release();
        m_outcome = m_script.empty() ? WriteOutcome{} : m_script.front();
        if (!m_script.empty()) m_script.erase(m_script.begin());
        return 0;
    }

    int Reap(UMockdevIoctlData* argument) {
        if (m_urb == nullptr || !m_outcome.completes) return EAGAIN;
        const Data urbData(std::exchange(m_urb, nullptr), g_object_unref);
        auto& urb = As<usbdevfs_urb>(urbData);
        urb.status = m_outcome.status;
        urb.actual_length = m_outcome.status == 0 ? urb.buffer_length : 0;
        umockdev_ioctl_data_set_ptr(Resolve(argument, sizeof(void*)).get(), 0, urbData.get());
        return 0;
    }

    int Record(std::string event) {
        m_events.push_back(std::move(event));
        return 0;
    }

    mutable std::mutex m_mutex;
    bool m_driverBound = model.driverBound;
    std::vector<WriteOutcome> m_script = model.writes;
    UMockdevIoctlData* m_urb = nullptr;  // the write in flight: libusb has one at a time here
    WriteOutcome m_outcome;              // and what becomes of it
    std::vector<std::string> m_events;
};

std::string NodePath(const ChipModel& model) {
    return fmt::format("/dev/bus/usb/{:03}/{:03}", model.bus, model.address);
}

// Higher buses get lower controller addresses, so that the system lists the devices in an order
// other than the instruments' numbering.
std::string SysfsPath(const ChipModel& model) {
    return fmt::format("/sys/devices/pci0000:00/0000:00:{0:02x}.0/usb{1}/{1}-{2}", 0xFF - model.bus,
                       model.bus, model.ports);
}

// The descriptors: full speed, vendor class, one configuration with one vendor interface that
// has bulk IN 0x82 and bulk OUT 0x02 of 64 bytes and interrupt IN 0x81 of 8.
std::string Description(const ChipModel& model) {
    return fmt::format(
        "P: {0}\nN: {1}\nE: DEVNAME=/dev/{1}\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n"
        "A: busnum={2}\\n\nA: devnum={3}\\n\nA: bConfigurationValue=1\\n\n"
        "H: descriptors=12011001FF000008{4:02X}{5:02X}{6:02X}{7:02X}000100000001"
        "0902270001010080320904000003FF000000070582024000000705020240000007058103080001\n",
        SysfsPath(model).substr(4), NodePath(model).substr(5), model.bus, model.address,
        model.vendor & 0xFF, model.vendor >> 8, model.product & 0xFF, model.product >> 8);
}

// A USB bus of this process only: libusb here sees the chips plugged in and nothing else.
class EmulatedUsb {
public:
    EmulatedUsb() {
        // Without umockdev's preload library libusb would see the real USB: stop before it does.
        if (dlopen("libumockdev-preload.so.0", RTLD_LAZY | RTLD_NOLOAD) != nullptr) return;
        std::fputs("libumockdev-preload.so.0 is not loaded (CTest preloads it): skipped\n", stderr);
        std::_Exit(77);
    }
    ~EmulatedUsb() { g_object_unref(m_testbed); }

    EmulatedChip& Plug(const ChipModel& model) {
        EXPECT_GE(model.bus, 64);
        auto& chip = *m_chips.emplace_back(std::make_unique<EmulatedChip>(model));
        // The handler is in place before the device appears, so that an open never misses it.
        const std::string node = NodePath(model);
        EXPECT_TRUE(umockdev_testbed_attach_ioctl(m_testbed, node.c_str(), chip.handler, nullptr));
        EXPECT_TRUE(
            umockdev_testbed_add_from_string(m_testbed, Description(model).c_str(), nullptr));
        return chip;
    }

    // As on a real unplug: the system tells its listeners, then forgets the device.
    void Unplug(const EmulatedChip& chip) {
        umockdev_testbed_uevent(m_testbed, SysfsPath(chip.model).c_str(), "remove");
        umockdev_testbed_remove_device(m_testbed, SysfsPath(chip.model).c_str());
        umockdev_testbed_detach_ioctl(m_testbed, NodePath(chip.model).c_str(), nullptr);
    }

private:
    UMockdevTestbed* m_testbed = umockdev_testbed_new();
    std::vector<std::unique_ptr<EmulatedChip>> m_chips;
};

// Whether the backend took the frame, and how many of its bytes it says were written.
std::pair<bool, ULONG> Write(LibusbBackend& backend, const std::string& frame, ULONG index = 0) {
    auto length = static_cast<ULONG>(frame.size());
    return {backend.WriteData(index, frame.data(), &length), length};  // in this order
}

class LibusbBackendTest : public InstrumentTest {
protected:
    EmulatedUsb usb;
};

// usb:N is the N-th chip in the order of bus and port path, however the system lists them.
TEST_F(LibusbBackendTest, InstrumentsAreNumberedByBusThenPortPath) {
    usb.Plug({.ports = "1", .address = 5, .product = 0x0608});  // a hub, no instrument
    EmulatedChip& fourth = usb.Plug({.bus = 251});
    EmulatedChip& third = usb.Plug({.bus = 250, .ports = "10", .address = 4, .vendor = 0x1a86});
    EmulatedChip& first = usb.Plug({.bus = 250, .ports = "1.4", .address = 6});
    EmulatedChip& second = usb.Plug({.bus = 250, .ports = "2", .address = 3});
    // The backend for usb:N opens instrument N + i as its device i.
    const std::tuple<ULONG, ULONG, EmulatedChip*> cases[] = {
        {0, 0, &first}, {0, 1, &second}, {2, 0, &third}, {1, 2, &fourth}};
    for (const auto& [firstDevice, index, chip] : cases) {
        LibusbBackend backend(firstDevice);
        EXPECT_TRUE(backend.Open(index) && Write(backend, "*CLS\n", index).first)
            << backend.LastError();
        backend.Close(index);
        EXPECT_THAT(chip->Events(), ElementsAre("claim 0", "write *CLS\n", "release 0"));
    }
    LibusbBackend beyond(2);
    EXPECT_FALSE(beyond.Open(2));
    EXPECT_THAT(beyond.LastError(), HasSubstr("no instrument usb:4 on USB: 4 found"));
    // `valdrix-cli list` counts them the same way, and each opens and lets go at once.
    const UsbSurvey survey = SurveyUsbInstruments();
    ASSERT_EQ(survey.instruments.size(), 4u);
    EXPECT_EQ(survey.instruments[1].location, "bus 250, port 2");
    EXPECT_EQ(survey.instruments[2].ids, "1a86:5537");
    EXPECT_EQ(survey.instruments[3].whyNot, "");
}

// A kernel driver is detached only where one is bound (the other tests' chips have none).
TEST_F(LibusbBackendTest, ABoundKernelDriverIsDetachedForTheClaimAndGivenBackOnClose) {
    EmulatedChip& chip = usb.Plug({.driverBound = true});
    LibusbBackend backend;
    EXPECT_TRUE(backend.Open(0)) << backend.LastError();
    backend.Close(0);
    EXPECT_THAT(chip.Events(), ElementsAre("detach 0", "claim 0", "release 0", "attach 0"));
}

// Through the program's own link each line reaches the chip as exactly its bytes; unplugged,
// the chip fails the write, and plugged in again it is found anew.
TEST_F(LibusbBackendTest, AnUnpluggedChipFailsTheWriteAndIsFoundAgainOncePluggedBack) {
    EmulatedChip& gone =
        usb.Plug({.ports = "2", .address = 7, .writes = {{}, {.status = -ENODEV}}});
    instrument.Use(std::make_unique<LibusbBackend>());
    OpenDevice();
    LineBuffer buffer = LineBuffer::Obtain();
    EXPECT_TRUE(SendLine(instrument, buffer, "FIRSt").written);
    EXPECT_THAT(SendLine(instrument, buffer, "SECond").reason,
                AllOf(HasSubstr("LIBUSB_ERROR_NO_DEVICE"), HasSubstr("plug it in")));
    usb.Unplug(gone);
    EXPECT_FALSE(instrument.EnsureOpen());
    EXPECT_THAT(instrument.LastError(), HasSubstr("no instrument on USB"));
    EmulatedChip& back = usb.Plug({.ports = "2", .address = 8});
    EXPECT_TRUE(instrument.EnsureOpen()) << instrument.LastError();
    EXPECT_TRUE(SendLine(instrument, buffer, "*RST").written);
    EXPECT_THAT(gone.Events(),
                ElementsAre("claim 0", "write FIRSt\n", "write SECond\n", "release 0"));
    EXPECT_THAT(back.Events(), ElementsAre("claim 0", "write \x2A\x52\x53\x54\x0A"));
}

// A stalled endpoint stays halted until the host clears it; a write that the chip does not take
// in time fails rather than hang the program. Each time the next write goes through.
TEST(LibusbBackend, AStalledOrTimedOutWriteFailsWithItsReasonAndTheNextGoesThrough) {
    const std::pair<WriteOutcome, const char*> cases[] = {
        {{.status = -EPIPE}, "halted its input (LIBUSB_ERROR_PIPE); the halt has been cleared"},
        {{.completes = false}, "did not take the data in time (LIBUSB_ERROR_TIMEOUT)"}};
    for (const auto& [outcome, reason] : cases) {
        EmulatedUsb usb;
        EmulatedChip& chip = usb.Plug({.writes = {outcome}});
        LibusbBackend backend;
        ASSERT_TRUE(backend.Open(0) && backend.SetTimeout(0, 150, 150)) << backend.LastError();
        EXPECT_EQ(Write(backend, "*RST\n"), std::make_pair(false, ULONG{0})) << reason;
        EXPECT_THAT(backend.LastError(), HasSubstr(reason));
        EXPECT_EQ(backend.Advice(), "") << "the reason says what to do: no advice after it";
        EXPECT_TRUE(Write(backend, "*CLS\n").first) << backend.LastError();
        std::vector<std::string> events = {"claim 0", "write *RST\n", "write *CLS\n"};
        if (outcome.status == -EPIPE) events.insert(events.begin() + 2, "clear-halt 0x02");
        EXPECT_EQ(chip.Events(), events);
    }
}

// What happened, libusb's name for it and what to do; the callers add the full stop.
TEST(UsbErrorText, SaysWhatToDo) {
    const std::pair<int, const char*> cases[] = {
        {LIBUSB_ERROR_ACCESS,
         "may not use the instrument's USB device (LIBUSB_ERROR_ACCESS); "
         "install the udev rule 70-valdrix.rules"},
        {LIBUSB_ERROR_NO_MEM, "Insufficient memory (LIBUSB_ERROR_NO_MEM); unplug and plug in"}};
    for (const auto& [error, text] : cases) {
        EXPECT_THAT(UsbErrorText(error), AllOf(HasSubstr(text), Not(EndsWith("."))));
    }
}

}  // namespace
