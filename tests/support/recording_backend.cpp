#include "support/recording_backend.h"

#include <fmt/format.h>

namespace {
constexpr char kPausePrefix[] = "pause ";
}

std::vector<std::string> Timeline::Frames() const {
    std::vector<std::string> frames;
    for (const std::string& event : events) {
        if (!event.starts_with(kPausePrefix)) frames.push_back(event);
    }
    return frames;
}

bool RecordingBackend::Open(ULONG) {
    ++m_script->opens;
    if (m_script->openFails) m_lastError = "no instrument is attached";
    return !m_script->openFails;
}

bool RecordingBackend::SetTimeout(ULONG, ULONG writeTimeoutMs, ULONG readTimeoutMs) {
    m_script->timeouts.emplace_back(writeTimeoutMs, readTimeoutMs);
    if (m_script->timeoutFails) m_lastError = "the instrument does not answer";
    return !m_script->timeoutFails;
}

bool RecordingBackend::WriteData(ULONG, const void* buffer, ULONG* length) {
    const int number = ++m_script->writes;
    m_script->lengths.push_back(*length);
    if (m_script->failAllWrites || number == m_script->failWrite) {
        // The bytes a failing write took reach the instrument all the same.
        *length =
            m_script->shortBy != 0 && m_script->shortBy < *length ? *length - m_script->shortBy : 0;
        if (*length != 0)
            m_timeline->events.emplace_back(static_cast<const char*>(buffer), *length);
        if (m_script->shortBy != 0 && !m_script->shortIsError) return true;
        m_lastError = m_script->failReason;
        return false;
    }
    m_timeline->events.emplace_back(static_cast<const char*>(buffer), *length);
    return true;
}

void RecordingBackend::Close(ULONG) {
    ++m_script->closes;
}

void VirtualClock::Sleep(unsigned milliseconds) {
    m_timeline->events.push_back(fmt::format("{}{}", kPausePrefix, milliseconds));
}
