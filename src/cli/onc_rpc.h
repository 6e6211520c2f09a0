#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace valdrix::cli {

// ONC RPC over TCP, as far as a server of a few procedures needs it: XDR numbers and opaque
// data, record marking, calls in and replies out. Written out here rather than generated:
// the messages are few and small.

// XDR: every item takes a multiple of four bytes, numbers most significant byte first.
class XdrWriter {
public:
    XdrWriter& Uint(std::uint32_t value);
    XdrWriter& Opaque(std::string_view bytes);  // variable length, padded to four bytes
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Reads XDR items in order; an item past the end, or opaque data longer than allowed, makes
// Ok() false and reads as zero or empty from there on.
class XdrReader {
public:
    explicit XdrReader(std::string_view bytes) : m_rest(bytes) {}
    std::uint32_t Uint();
    std::string Opaque(std::size_t longest);
    bool Ok() const { return m_ok; }
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
    bool m_ok = true;
};

// A whole record at the front of a stream of record-marked fragments.
struct RecordScan {
    std::optional<std::string> record;  // nothing while it is still incomplete
    std::size_t consumed = 0;           // bytes of the stream the record took
    bool tooLong = false;               // the record would be longer than allowed
};
RecordScan TakeRecord(std::string_view stream, std::size_t longest);
// A message as one record of one fragment.
std::string RecordOf(std::string_view message);

struct RpcCall {
    std::uint32_t xid = 0;
    std::uint32_t rpcVersion = 0;
    std::uint32_t program = 0;
    std::uint32_t version = 0;
    std::uint32_t procedure = 0;
    std::string arguments;
};
// A call message with its credentials skipped; nothing when the message is not a call.
std::optional<RpcCall> ParseCall(std::string_view message);

enum class AcceptStat : std::uint32_t {
    Success = 0,
    ProgramUnavailable = 1,
    ProgramMismatch = 2,
    ProcedureUnavailable = 3,
    GarbageArguments = 4,
};
// An accepted reply with no verifier; the results follow the status when it is Success, the
// lowest and highest versions served when it is ProgramMismatch.
std::string AcceptedReply(std::uint32_t xid, AcceptStat status, std::string_view results = {});
// The reply to a call of an RPC version other than 2.
std::string RpcVersionMismatch(std::uint32_t xid);

}  // namespace valdrix::cli
