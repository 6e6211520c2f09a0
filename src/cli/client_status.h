#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "pages/model/scpi_header.h"

namespace valdrix::cli {

// An error queue entry as SCPI gives it: the code, then the description in double quotes,
// "TITLE; DETAIL", cut to 255 characters, quotes inside it doubled.
std::string ErrorEntry(int code, std::string_view title, std::string_view detail);

// What one client of the bridge sees of the instrument's status: its own error queue and the
// IEEE 488.2 status registers, which the bridge keeps since the instrument cannot be read.
class ClientStatus {
public:
    // The queries and the common commands that are carried out here rather than by the
    // instrument. *CLS is both: it clears this status and still goes to the instrument.
    static bool CarriedOutHere(const valdrix::model::MessageUnit& unit);
    static bool GoesToInstrument(const valdrix::model::MessageUnit& unit);

    // Carries out a unit once the client's lines before it are written and paced; the answer
    // of a query, nothing for a command. A query it cannot answer is an error and gets none.
    std::optional<std::string> CarryOut(const valdrix::model::MessageUnit& unit,
                                        const std::string& identity);

    // Queues an error and sets its bit in the event status register. A full queue keeps its
    // oldest entries and ends with "Queue overflow".
    void Record(std::string entry);
    std::uint8_t StatusByte() const;

private:
    std::optional<std::string> Query(std::string_view header, const std::string& identity);
    void SetEnable(std::uint8_t& enable, const valdrix::model::MessageUnit& unit);
    std::string NextError();

    std::deque<std::string> m_errors;
    std::uint8_t m_eventStatus = 0;
    std::uint8_t m_eventEnable = 0;
    std::uint8_t m_serviceEnable = 0;
};

}  // namespace valdrix::cli
