#pragma once

#include <memory>
#include <optional>
#include <string>

#include "link/device_backend.h"
#include "link/link_choice.h"
#include "link/link_status.h"
#include "link/owed_line_end.h"

namespace valdrix::link {

// The instrument's device index and the time-outs it is opened with. A write that the
// instrument does not take within 5 s is a failed write: the program must never hang on a
// stalled instrument.
inline constexpr ULONG kInstrumentDevice = 0;
inline constexpr ULONG kWriteTimeoutMs = 5000;
inline constexpr ULONG kReadTimeoutMs = 4000;

enum class OpenResult { Opened, NoDevice, TimeoutFailed };

// One instrument on one link: the transport that reaches it, whether it is open, the line end
// it is owed and every write counted. A program may hold several; each is used from one thread
// at a time.
class Instrument {
public:
    // No transport: every call fails until Use gives it one.
    Instrument();
    // The chosen link, its owed line end kept where the next run on the same link finds it.
    explicit Instrument(const LinkChoice& link);
    // A transport made elsewhere (a test's recorder); with keptAs, its owed line end is kept
    // across runs under that link's name.
    explicit Instrument(std::unique_ptr<DeviceBackend> transport,
                        const std::optional<LinkChoice>& keptAs = std::nullopt);
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // Closes the link in use and takes the chosen one, owing it nothing yet.
    void Use(const LinkChoice& link);
    void Use(std::unique_ptr<DeviceBackend> transport,
             const std::optional<LinkChoice>& keptAs = std::nullopt);

    // Opens the instrument and sets its time-outs. A device whose time-outs could not be set
    // stays open when keepOnTimeoutFailure is true (start-up), and is closed again otherwise.
    OpenResult Open(bool keepOnTimeoutFailure);
    // True when the instrument is open, opening it again if a failed write had closed it.
    bool EnsureOpen();
    // Closes the instrument if it is open.
    void Close();
    bool IsOpen() const { return m_open; }
    // After a plug or an unplug: an instrument that went away is closed, one that came is
    // opened.
    void FollowPlugging(bool instrumentPresent);

    // Writes *length bytes; *length is then what was written, also when the write failed
    // part-way. Every write is counted in Writes().
    bool Write(const void* buffer, ULONG* length);
    const WriteTally& Writes() const { return m_counter.Tally(); }

    // Why the last call failed, or why the instrument is not open, in the words the README's
    // table looks them up by.
    std::string LastError() const;
    // What the operator can do about a failure on this link.
    std::string Advice() const;

    // Whether a write was cut short and no line end has followed it yet: the instrument holds
    // the start of a line that the next command would be glued to. With the link's marker in
    // place, this covers the line ends owed by earlier runs too.
    bool OwesLineEnd() const;
    // Why the owed line end could not be kept for the next program on the link, if it could
    // not.
    std::optional<std::string> SetOwesLineEnd(bool owes);

private:
    std::unique_ptr<DeviceBackend> m_transport;
    bool m_open = false;
    bool m_owesLineEnd = false;
    // Where this link keeps a line end it owes across runs, when it does.
    std::optional<OwedLineEndMarker> m_marker;
    WriteCounter m_counter;
};

}  // namespace valdrix::link
