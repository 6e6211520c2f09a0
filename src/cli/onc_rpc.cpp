#include "cli/onc_rpc.h"

namespace valdrix::cli {

namespace {

constexpr std::uint32_t kCall = 0;
constexpr std::uint32_t kReply = 1;
constexpr std::uint32_t kMessageAccepted = 0;
constexpr std::uint32_t kMessageDenied = 1;
constexpr std::uint32_t kRpcMismatch = 0;
constexpr std::uint32_t kRpcVersion = 2;
constexpr std::uint32_t kNoAuthentication = 0;
constexpr std::uint32_t kLastFragment = 0x80000000u;
// Credentials and verifiers carry at most 400 bytes.
constexpr std::size_t kLongestAuthentication = 400;

std::uint32_t BigEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

std::size_t Padded(std::size_t size) {
    return (size + 3) / 4 * 4;
}

XdrWriter ReplyHeader(std::uint32_t xid, std::uint32_t replyStatus) {
    XdrWriter reply;
    reply.Uint(xid).Uint(kReply).Uint(replyStatus);
    return reply;
}

}  // namespace

XdrWriter& XdrWriter::Uint(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        m_bytes += static_cast<char>((value >> shift) & 0xFF);
    }
    return *this;
}

XdrWriter& XdrWriter::Opaque(std::string_view bytes) {
    Uint(static_cast<std::uint32_t>(bytes.size()));
    m_bytes.append(bytes);
    m_bytes.append(Padded(bytes.size()) - bytes.size(), '\0');
    return *this;
}

std::uint32_t XdrReader::Uint() {
    if (!m_ok || m_rest.size() < 4) {
        m_ok = false;
        return 0;
    }
    const std::uint32_t value = BigEndian(m_rest);
    m_rest.remove_prefix(4);
    return value;
}

std::string XdrReader::Opaque(std::size_t longest) {
    const std::uint32_t size = Uint();
    if (!m_ok || size > longest || Padded(size) > m_rest.size()) {
        m_ok = false;
        return {};
    }
    std::string bytes(m_rest.substr(0, size));
    m_rest.remove_prefix(Padded(size));
    return bytes;
}

RecordScan TakeRecord(std::string_view stream, std::size_t longest) {
    RecordScan scan;
    std::string record;
    for (std::size_t at = 0; stream.size() - at >= 4;) {
        const std::uint32_t mark = BigEndian(stream.substr(at));
        const std::size_t size = mark & ~kLastFragment;
        if (record.size() + size > longest) {
            scan.tooLong = true;
            return scan;
        }
        if (stream.size() - at - 4 < size) return scan;
        record.append(stream.substr(at + 4, size));
        at += 4 + size;
        if ((mark & kLastFragment) != 0) {
            scan.record = std::move(record);
            scan.consumed = at;
            return scan;
        }
    }
    return scan;
}

std::string RecordOf(std::string_view message) {
    XdrWriter mark;
    mark.Uint(kLastFragment | static_cast<std::uint32_t>(message.size()));
    return mark.Bytes() + std::string(message);
}

std::optional<RpcCall> ParseCall(std::string_view message) {
    XdrReader reader(message);
    RpcCall call;
    call.xid = reader.Uint();
    if (reader.Uint() != kCall) return std::nullopt;
    call.rpcVersion = reader.Uint();
    call.program = reader.Uint();
    call.version = reader.Uint();
    call.procedure = reader.Uint();
    for (int credentialThenVerifier = 0; credentialThenVerifier < 2; ++credentialThenVerifier) {
        reader.Uint();  // the flavour: every flavour is served alike
        reader.Opaque(kLongestAuthentication);
    }
    if (!reader.Ok()) return std::nullopt;
    const std::size_t header = message.size() - reader.Rest().size();
    call.arguments = std::string(message.substr(header));
    return call;
}

std::string AcceptedReply(std::uint32_t xid, AcceptStat status, std::string_view results) {
    XdrWriter reply = ReplyHeader(xid, kMessageAccepted);
    reply.Uint(kNoAuthentication).Opaque({}).Uint(static_cast<std::uint32_t>(status));
    return reply.Bytes() + std::string(results);
}

std::string RpcVersionMismatch(std::uint32_t xid) {
    XdrWriter reply = ReplyHeader(xid, kMessageDenied);
    reply.Uint(kRpcMismatch).Uint(kRpcVersion).Uint(kRpcVersion);
    return reply.Bytes();
}

}  // namespace valdrix::cli
