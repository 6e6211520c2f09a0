#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace valdrix::cli {

// The VXI-11 messages the bridge serves, in their XDR form: the core channel's procedures and
// the abort channel's device_abort. Written out here rather than generated: they are few.
namespace vxi11 {

constexpr std::uint32_t kCoreProgram = 0x0607AF;
constexpr std::uint32_t kAbortProgram = 0x0607B0;
constexpr std::uint32_t kVersion = 1;

enum Procedure : std::uint32_t {
    kNull = 0,
    kDeviceAbort = 1,  // on the abort channel
    kCreateLink = 10,
    kDeviceWrite = 11,
    kDeviceRead = 12,
    kDeviceReadStb = 13,
    kDeviceTrigger = 14,
    kDeviceClear = 15,
    kDeviceRemote = 16,
    kDeviceLocal = 17,
    kDeviceLock = 18,
    kDeviceUnlock = 19,
    kDestroyLink = 23,
};

enum Error : std::uint32_t {
    kNoError = 0,
    kDeviceNotAccessible = 3,
    kInvalidLink = 4,
    kParameterError = 5,
    kOperationNotSupported = 8,
    kOutOfResources = 9,
    kDeviceLocked = 11,
    kNoLockHeld = 12,
    kIoTimeout = 15,
    kAborted = 23,
};

// Flags of the operations.
constexpr std::uint32_t kWaitLock = 0x01;
constexpr std::uint32_t kEnd = 0x08;
constexpr std::uint32_t kTermCharSet = 0x80;
// Why a read ended.
constexpr std::uint32_t kReasonRequestCount = 0x01;
constexpr std::uint32_t kReasonTermChar = 0x02;
constexpr std::uint32_t kReasonEnd = 0x04;

// The longest device_write the bridge takes, and so the longest device name too.
constexpr std::uint32_t kMaxReceiveSize = 16 * 1024;

struct CreateLink {
    std::uint32_t clientId = 0;
    bool lockDevice = false;
    std::uint32_t lockTimeoutMs = 0;
    std::string device;
};
struct Write {
    std::uint32_t link = 0, ioTimeoutMs = 0, lockTimeoutMs = 0, flags = 0;
    std::string data;
};
struct Read {
    std::uint32_t link = 0, requestSize = 0, ioTimeoutMs = 0, lockTimeoutMs = 0, flags = 0;
    char termChar = '\n';
};
// The arguments of readstb, trigger, clear, remote and local.
struct Generic {
    std::uint32_t link = 0, flags = 0, lockTimeoutMs = 0, ioTimeoutMs = 0;
};
struct Lock {
    std::uint32_t link = 0, flags = 0, lockTimeoutMs = 0;
};

// Each gives nothing when the arguments are malformed.
std::optional<CreateLink> ParseCreateLink(std::string_view arguments);
std::optional<Write> ParseWrite(std::string_view arguments);
std::optional<Read> ParseRead(std::string_view arguments);
std::optional<Generic> ParseGeneric(std::string_view arguments);
std::optional<Lock> ParseLock(std::string_view arguments);
// The link id alone: unlock, destroy_link, device_abort.
std::optional<std::uint32_t> ParseLink(std::string_view arguments);

std::string CreateLinkResult(Error error, std::uint32_t link, std::uint16_t abortPort);
std::string WriteResult(Error error, std::uint32_t size);
std::string ReadResult(Error error, std::uint32_t reason, std::string_view data);
std::string ReadStbResult(Error error, std::uint8_t statusByte);
std::string ErrorResult(Error error);

// The instrument a device name means ("inst0" to "inst<instruments - 1>"); nothing when it means
// none served here.
std::optional<unsigned> InstrumentOf(std::string_view device, std::size_t instruments);

}  // namespace vxi11

}  // namespace valdrix::cli
