#include "cli/vxi11_messages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "cli/onc_rpc.h"

namespace valdrix::cli {

namespace vxi11 {

namespace {

template <typename Message>
std::optional<Message> Checked(const XdrReader& reader, Message message) {
    if (!reader.Ok() || !reader.Rest().empty()) return std::nullopt;
    return message;
}

template <std::size_t count>
std::array<std::uint32_t, count> Uints(XdrReader& reader) {
    std::array<std::uint32_t, count> values{};
    for (std::uint32_t& value : values) value = reader.Uint();
    return values;
}

}  // namespace

std::optional<CreateLink> ParseCreateLink(std::string_view arguments) {
    XdrReader reader(arguments);
    const auto [clientId, lockDevice, lockTimeoutMs] = Uints<3>(reader);
    return Checked(reader, CreateLink{clientId, lockDevice != 0, lockTimeoutMs,
                                      reader.Opaque(kMaxReceiveSize)});
}

std::optional<Write> ParseWrite(std::string_view arguments) {
    XdrReader reader(arguments);
    const auto [link, ioTimeoutMs, lockTimeoutMs, flags] = Uints<4>(reader);
    return Checked(reader,
                   Write{link, ioTimeoutMs, lockTimeoutMs, flags, reader.Opaque(kMaxReceiveSize)});
}

std::optional<Read> ParseRead(std::string_view arguments) {
    XdrReader reader(arguments);
    const auto [link, size, ioTimeoutMs, lockTimeoutMs, flags, termChar] = Uints<6>(reader);
    return Checked(
        reader, Read{link, size, ioTimeoutMs, lockTimeoutMs, flags, static_cast<char>(termChar)});
}

std::optional<Generic> ParseGeneric(std::string_view arguments) {
    XdrReader reader(arguments);
    const auto [link, flags, lockTimeoutMs, ioTimeoutMs] = Uints<4>(reader);
    return Checked(reader, Generic{link, flags, lockTimeoutMs, ioTimeoutMs});
}

std::optional<Lock> ParseLock(std::string_view arguments) {
    XdrReader reader(arguments);
    const auto [link, flags, lockTimeoutMs] = Uints<3>(reader);
    return Checked(reader, Lock{link, flags, lockTimeoutMs});
}

std::optional<std::uint32_t> ParseLink(std::string_view arguments) {
    XdrReader reader(arguments);
    const auto [link] = Uints<1>(reader);
    return Checked(reader, link);
}

std::string CreateLinkResult(Error error, std::uint32_t link, std::uint16_t abortPort) {
    return XdrWriter().Uint(error).Uint(link).Uint(abortPort).Uint(kMaxReceiveSize).Bytes();
}

std::string WriteResult(Error error, std::uint32_t size) {
    return XdrWriter().Uint(error).Uint(size).Bytes();
}

std::string ReadResult(Error error, std::uint32_t reason, std::string_view data) {
    return XdrWriter().Uint(error).Uint(reason).Opaque(data).Bytes();
}

std::string ReadStbResult(Error error, std::uint8_t statusByte) {
    return XdrWriter().Uint(error).Uint(statusByte).Bytes();
}

std::string ErrorResult(Error error) {
    return XdrWriter().Uint(error).Bytes();
}

std::optional<unsigned> InstrumentOf(std::string_view device, std::size_t instruments) {
    constexpr std::string_view prefix = "inst";
    // VISA resource names are read without regard to case: TCPIP::host::INST0::INSTR too.
    if (device.size() <= prefix.size() ||
        !std::equal(prefix.begin(), prefix.end(), device.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        })) {
        return {};
    }
    unsigned number = 0;
    const char* end = device.data() + device.size();
    const auto [stop, error] = std::from_chars(device.data() + prefix.size(), end, number);
    if (error != std::errc() || stop != end || number >= instruments) return {};
    // One spelling per instrument: "inst00" is not inst0.
    if (device.size() > prefix.size() + 1 && device[prefix.size()] == '0') return {};
    return number;
}

}  // namespace vxi11

}  // namespace valdrix::cli
