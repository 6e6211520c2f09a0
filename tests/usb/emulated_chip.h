#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

// Where an emulated chip sits and how it starts. Bus numbers of 64 and above never exist on a
// real machine (the kernel numbers at most 63 buses), so a test that loses its emulated device
// finds nothing rather than a real one, even when run as root.
struct ChipModel {
    static constexpr int kFirstImpossibleBus = 64;

    int bus = 250;
    std::string ports = "1";  // port path, "1" or "1.4"
    int address = 2;
    std::uint16_t vendor = 0x4348;
    std::uint16_t product = 0x5537;
    bool withNode = true;      // false: the system lists the device but has no node for it
    bool driverBound = false;  // a kernel driver holds interface 0
    bool heldByOther = false;  // another program has claimed interface 0
};

// What the chip does with one bulk write; every write not scripted is taken whole.
struct WriteOutcome {
    int status = 0;          // the transfer's status as the kernel gives it: 0, -EPIPE, -ENODEV
    int acceptedBytes = -1;  // how many bytes the chip took; -1: all of them
    bool completes = true;   // false: the transfer never completes
};

// One CH372 as the kernel's usbfs shows it to libusb: it records what reaches it (claims,
// releases, driver changes, cleared halts, and each bulk payload on endpoint 0x02, in order)
// and answers each write as scripted. The ioctls arrive on umockdev's thread.
class EmulatedChip {
public:
    explicit EmulatedChip(const ChipModel& model);
    ~EmulatedChip();
    EmulatedChip(const EmulatedChip&) = delete;
    EmulatedChip& operator=(const EmulatedChip&) = delete;

    const ChipModel& Model() const { return m_model; }
    std::string NodePath() const;
    std::string SysfsPath() const;
    // The device as umockdev's description format gives it, descriptors included.
    std::string Description() const;
    UMockdevIoctlBase* Handler() const { return m_handler; }

    void ScriptWrites(std::vector<WriteOutcome> outcomes);
    // Every bulk OUT payload, in the order it arrived.
    std::vector<std::string> Payloads() const;
    // Everything done to the chip, in order: "claim 0", "release 0", "detach 0", "attach 0",
    // "clear-halt 0x02", "write <bytes>", and anything unexpected by its name.
    std::vector<std::string> Events() const;

private:
    struct Pending {
        UMockdevIoctlData* urb;
        WriteOutcome outcome;
    };

    static int OnIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    void Handle(UMockdevIoctlClient* client);
    void Submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void Reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void Discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void DriverIoctl(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void Claim(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void GetDriver(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void Record(std::string event);

    ChipModel m_model;
    UMockdevIoctlBase* m_handler;
    mutable std::mutex m_mutex;
    bool m_driverBound;
    std::deque<WriteOutcome> m_script;
    std::vector<Pending> m_inFlight;
    std::vector<UMockdevIoctlData*> m_discarded;
    std::vector<std::string> m_events;
};
