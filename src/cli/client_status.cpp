#include "cli/client_status.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace valdrix::cli {

using namespace valdrix::model;

namespace {

constexpr std::size_t kMaxErrors = 32;
constexpr std::size_t kLongestDescription = 255;
constexpr char kNoError[] = "0,\"No error\"";
constexpr char kQueueOverflow[] = "-350,\"Queue overflow\"";
constexpr char kCannotAnswer[] = "-113,\"Undefined header; this instrument cannot answer queries\"";

// Bits of the standard event status register and of the status byte.
constexpr std::uint8_t kOperationComplete = 0x01;
constexpr std::uint8_t kErrorQueueNotEmpty = 0x04;
constexpr std::uint8_t kEventSummary = 0x20;
constexpr std::uint8_t kMasterSummary = 0x40;

// The event status bit of an error by the hundreds of its code: -100s are command errors, -200s
// execution errors, -300s device-dependent errors, -400s query errors.
std::uint8_t EventBitOf(std::string_view entry) {
    int code = 0;
    std::from_chars(entry.data(), entry.data() + entry.size(), code);
    constexpr std::array<std::uint8_t, 4> bits = {0x20, 0x10, 0x08, 0x04};
    const int hundreds = -code / 100;
    return hundreds >= 1 && hundreds <= 4 ? bits[static_cast<std::size_t>(hundreds - 1)] : 0;
}

bool Is(const MessageUnit& unit, std::string_view pattern) {
    return HeaderMatches(pattern, unit.fullHeader);
}

bool SetsAnEnableRegister(const MessageUnit& unit) {
    return Is(unit, "*ESE") || Is(unit, "*SRE");
}

}  // namespace

std::string ErrorEntry(int code, std::string_view title, std::string_view detail) {
    std::string description = fmt::format("{}; {}", title, detail);
    std::replace(description.begin(), description.end(), '\n', ' ');
    if (description.size() > kLongestDescription) {
        description.resize(kLongestDescription - 3);
        description += "...";
    }
    std::string quoted;
    for (char c : description) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return fmt::format("{},\"{}\"", code, quoted);
}

bool ClientStatus::CarriedOutHere(const MessageUnit& unit) {
    return unit.header.ends_with('?') || Is(unit, "*CLS") || Is(unit, "*OPC") || Is(unit, "*WAI") ||
           SetsAnEnableRegister(unit);
}

bool ClientStatus::GoesToInstrument(const MessageUnit& unit) {
    return !CarriedOutHere(unit) || Is(unit, "*CLS");
}

std::optional<std::string> ClientStatus::CarryOut(const MessageUnit& unit,
                                                  const std::string& identity) {
    if (unit.header.ends_with('?')) return Query(unit.fullHeader, identity);
    if (Is(unit, "*CLS")) {
        m_errors.clear();
        m_eventStatus = 0;
    } else if (Is(unit, "*OPC")) {
        m_eventStatus |= kOperationComplete;
    } else if (Is(unit, "*ESE")) {
        SetEnable(m_eventEnable, unit);
    } else if (Is(unit, "*SRE")) {
        SetEnable(m_serviceEnable, unit);
    }
    return std::nullopt;
}

std::optional<std::string> ClientStatus::Query(std::string_view header,
                                               const std::string& identity) {
    if (HeaderMatches("*IDN?", header)) return identity;
    if (HeaderMatches("*OPC?", header)) return "1";
    if (HeaderMatches("*OPT?", header) || HeaderMatches("*TST?", header)) return "0";
    if (HeaderMatches("SYSTem:ERRor?", header) || HeaderMatches("SYSTem:ERRor:NEXT?", header)) {
        return NextError();
    }
    if (HeaderMatches("*ESR?", header)) return std::to_string(std::exchange(m_eventStatus, 0));
    if (HeaderMatches("*ESE?", header)) return std::to_string(m_eventEnable);
    if (HeaderMatches("*SRE?", header)) return std::to_string(m_serviceEnable);
    if (HeaderMatches("*STB?", header)) return std::to_string(StatusByte());
    Record(kCannotAnswer);
    return std::nullopt;
}

void ClientStatus::SetEnable(std::uint8_t& enable, const MessageUnit& unit) {
    std::string_view value = std::string_view(unit.text).substr(unit.header.size());
    value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
    value.remove_suffix(value.size() - std::min(value.find_last_not_of(' ') + 1, value.size()));
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty()) {
        return Record(ErrorEntry(-109, "Missing parameter", unit.header + " takes 0 to 255"));
    }
    if (error != std::errc() || end != value.data() + value.size()) {
        return Record(ErrorEntry(-104, "Data type error",
                                 fmt::format("{} takes a number from 0 to 255", unit.header)));
    }
    if (number < -0.5 || number >= 255.5) {
        return Record(ErrorEntry(-222, "Data out of range",
                                 fmt::format("{} takes 0 to 255, not {}", unit.header, value)));
    }
    enable = static_cast<std::uint8_t>(number + 0.5);
}

void ClientStatus::Record(std::string entry) {
    m_eventStatus |= EventBitOf(entry);
    if (m_errors.size() < kMaxErrors) {
        m_errors.push_back(std::move(entry));
    } else {
        m_errors.back() = kQueueOverflow;
        m_eventStatus |= EventBitOf(kQueueOverflow);
    }
}

std::string ClientStatus::NextError() {
    if (m_errors.empty()) return kNoError;
    std::string oldest = std::move(m_errors.front());
    m_errors.pop_front();
    return oldest;
}

std::uint8_t ClientStatus::StatusByte() const {
    std::uint8_t status = m_errors.empty() ? 0 : kErrorQueueNotEmpty;
    if ((m_eventStatus & m_eventEnable) != 0) status |= kEventSummary;
    if ((status & m_serviceEnable) != 0) status |= kMasterSummary;
    return status;
}

}  // namespace valdrix::cli
