#include "link/instrument.h"

#include <utility>

namespace valdrix::link {

namespace {

constexpr char kNoTransport[] = "no instrument link is configured";

}  // namespace

Instrument::Instrument() = default;

Instrument::Instrument(const LinkChoice& link) {
    Use(link);
}

Instrument::Instrument(std::unique_ptr<DeviceBackend> transport,
                       const std::optional<LinkChoice>& keptAs) {
    Use(std::move(transport), keptAs);
}

Instrument::~Instrument() {
    Close();
}

void Instrument::Use(const LinkChoice& link) {
    Use(MakeBackend(link), link);
}

void Instrument::Use(std::unique_ptr<DeviceBackend> transport,
                     const std::optional<LinkChoice>& keptAs) {
    Close();
    m_transport = std::move(transport);
    m_owesLineEnd = false;
    m_marker.reset();
    if (keptAs) m_marker.emplace(*keptAs);
}

OpenResult Instrument::Open(bool keepOnTimeoutFailure) {
    m_counter.Opened();
    if (!m_transport || !m_transport->Open(kInstrumentDevice)) return OpenResult::NoDevice;
    m_open = true;
    if (!m_transport->SetTimeout(kInstrumentDevice, kWriteTimeoutMs, kReadTimeoutMs)) {
        if (!keepOnTimeoutFailure) Close();
        return OpenResult::TimeoutFailed;
    }
    return OpenResult::Opened;
}

bool Instrument::EnsureOpen() {
    return m_open || Open(false) == OpenResult::Opened;
}

void Instrument::Close() {
    if (!m_open) return;
    m_transport->Close(kInstrumentDevice);
    m_open = false;
}

void Instrument::FollowPlugging(bool instrumentPresent) {
    if (!instrumentPresent) Close();
    EnsureOpen();
}

bool Instrument::Write(const void* buffer, ULONG* length) {
    const ULONG wanted = *length;
    const bool written = m_transport && m_transport->WriteData(kInstrumentDevice, buffer, length);
    m_counter.Count(buffer, wanted, written, *length, written ? std::string() : LastError());
    return written;
}

std::string Instrument::LastError() const {
    return m_transport ? m_transport->LastError() : kNoTransport;
}

std::string Instrument::Advice() const {
    return m_transport ? m_transport->Advice() : DeviceBackend::kUsbAdvice;
}

bool Instrument::OwesLineEnd() const {
    return m_owesLineEnd || (m_marker && m_marker->Exists());
}

std::optional<std::string> Instrument::SetOwesLineEnd(bool owes) {
    m_owesLineEnd = owes;
    return m_marker ? m_marker->Set(owes) : std::nullopt;
}

}  // namespace valdrix::link
