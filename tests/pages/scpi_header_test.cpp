#include <gtest/gtest.h>

#include "pages/model/scpi_header.h"

using namespace valdrix::model;

// Short and long forms in any case, node by node; a query only matches a query.
TEST(ScpiHeader, HeadersMatchAsAnInstrumentReadsThem) {
    const std::vector<std::tuple<const char*, const char*, bool>> cases = {
        {"AM:STATe", "AM:STATe", true},      {"AM:STATe", "am:stat", true},
        {"AM:STATe", ":Am:State", true},     {"AM:STATe", "AM:STA", false},
        {"AM:STATe", "AM:STATES", false},    {"AM:STATe", "AM", false},
        {"AM:STATe", "AM:STATe:X", false},   {"SYSTem:ERRor?", "syst:err?", true},
        {"SYSTem:ERRor?", "SYST:ERR", false}, {"*IDN?", "*idn?", true},
    };
    for (const auto& [pattern, header, matches] : cases) {
        EXPECT_EQ(HeaderMatches(pattern, header), matches) << pattern << " / " << header;
    }
}

// The pause after a line is what follows it in its page plus what comes before the next line;
// a header sent by two pages waits the longer of their pauses.
TEST(ScpiHeader, PausesAfterAHeaderComeFromThePagesSequences) {
    const std::vector<std::pair<const char*, std::optional<unsigned>>> cases = {
        {"AM:STAT ON", 300},      {"am:internal:freq", 300}, {"FUNC", 500},
        {"FREQ", 100},          {"SOUR:FUNC:RAMP:SYMM", 1000}, {"TRIG:SOUR", 100},
        {"AM:INT:FUNC", std::nullopt}, {"*RST", std::nullopt},
    };
    for (const auto& [line, pause] : cases) EXPECT_EQ(PanelPauseAfter(HeaderOf(line)), pause) << line;
}
