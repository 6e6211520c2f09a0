#include "link/simulated_instrument.h"

#include <cstdio>

namespace valdrix::link {

namespace {
constexpr ULONG kOnlyDevice = 0;
}

bool SimulatedInstrument::Open(ULONG index) {
    if (index != kOnlyDevice) {
        m_lastError = "the simulated instrument is device 0";
        return false;
    }
    m_open = true;
    return true;
}

bool SimulatedInstrument::SetTimeout(ULONG, ULONG, ULONG) {
    return m_open;
}

bool SimulatedInstrument::WriteData(ULONG index, const void* buffer, ULONG* length) {
    if (!m_open || index != kOnlyDevice) {
        m_lastError = "the simulated instrument is not open";
        *length = 0;
        return false;
    }
    m_frames.emplace_back(static_cast<const char*>(buffer), *length);
    if (m_echo)
        std::fprintf(stderr, "instrument <- %.*s", static_cast<int>(*length),
                     static_cast<const char*>(buffer));
    return true;
}

void SimulatedInstrument::Close(ULONG) {
    m_open = false;
}

}  // namespace valdrix::link
