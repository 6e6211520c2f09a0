#include "pages/model/scpi_header.h"

#include <gtest/gtest.h>

#include "pages/model/page_catalogue.h"

using namespace valdrix::model;

// Short and long forms in any case, node by node; a query only matches a query.
TEST(ScpiHeader, HeadersMatchAsAnInstrumentReadsThem) {
    const std::vector<std::tuple<const char*, const char*, bool>> cases = {
        {"AM:STATe", "AM:STATe", true},
        {"AM:STATe", "am:stat", true},
        {"AM:STATe", ":Am:State", true},
        {"AM:STATe", "AM:STA", false},
        {"AM:STATe", "AM:STATES", false},
        {"AM:STATe", "AM", false},
        {"AM:STATe", "AM:STATe:X", false},
        {"SYSTem:ERRor?", "syst:err?", true},
        {"SYSTem:ERRor?", "SYST:ERR", false},
        {"*IDN?", "*idn?", true},
        {"SOURce:FREQuency", "FREQ", true},
        {"FREQuency", "sour:freq", true},
        {"SOURce:FUNCtion:SQUare:DCYCle", "FUNC:SQU:DCYC", true},
        {"SOURce", "SOUR", true},
        {"FREQuency", "SOUR:SOUR:FREQ", false},
        {"AM:FREQuency", "SOUR:FREQ", false},
    };
    for (const auto& [pattern, header, matches] : cases) {
        EXPECT_EQ(HeaderMatches(pattern, header), matches) << pattern << " / " << header;
    }
}

// The pause after a line is what follows it in its page plus what comes before the next line;
// a header sent by two pages waits the longer of their pauses.
TEST(ScpiHeader, PausesAfterAHeaderComeFromThePagesSequences) {
    const std::vector<std::pair<const char*, std::optional<unsigned>>> cases = {
        {"AM:STAT ON", 300},
        {"am:internal:freq", 300},
        {"FUNC", 500},
        {"FREQ", 100},
        {"SOUR:FUNC:RAMP:SYMM", 1000},
        {"TRIG:SOUR", 100},
        {"AM:INT:FUNC", std::nullopt},
        {"*RST", std::nullopt},
        {"SOUR:FREQ", 100},
        {"FUNC:SQU:DCYC", 500},
    };
    for (const auto& [line, pause] : cases)
        EXPECT_EQ(PanelPauseAfter(HeaderOf(line)), pause) << line;
}

// Units split at ";" outside quoted strings; each header takes the path the one before it left,
// from the root after a leading colon, and a common command leaves the path alone.
TEST(ScpiHeader, LinesSplitIntoUnitsWithTheirFullHeaders) {
    std::vector<std::pair<std::string, std::string>> units;
    for (const MessageUnit& unit :
         MessageUnits("AM:STAT ON; DEPT 50;*OPC;INT:FREQ 5;:FREQ 1;;DISP:TEXT \"a;b\";ON")) {
        units.emplace_back(unit.text, unit.fullHeader);
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"AM:STAT ON", "AM:STAT"}, {"DEPT 50", "AM:DEPT"},
        {"*OPC", "*OPC"},          {"INT:FREQ 5", "AM:INT:FREQ"},
        {":FREQ 1", "FREQ"},       {"DISP:TEXT \"a;b\"", "DISP:TEXT"},
        {"ON", "DISP:ON"},
    };
    EXPECT_EQ(units, expected);
}

// The texts whose sequences the bridge must pace: each variant of the page and its defaults, each
// with any one field that offers choices at each of them.
std::vector<FieldTexts> TextsToPace(const CataloguePage& page) {
    std::vector<FieldTexts> bases = page.variants;
    bases.emplace_back();
    std::vector<FieldTexts> all = bases;
    for (const FieldTexts& base : bases) {
        for (const FieldRow& field : page.fields) {
            for (const std::string& choice : field.choices) {
                FieldTexts texts = base;
                std::erase_if(texts,
                              [&field](const auto& text) { return text.first == field.option; });
                texts.emplace_back(field.option, choice);
                all.push_back(std::move(texts));
            }
        }
    }
    return all;
}

// The bridge waits after every line at least as long as the panel: a page whose sequence gains a
// paced line with a choice that its catalogue variants leave out fails here.
TEST(ScpiHeader, TheBridgePacesEveryLineAPageWaitsAfter) {
    for (const CataloguePage& page : PageCatalogue()) {
        for (const FieldTexts& texts : TextsToPace(page)) {
            const CommandSequence sequence = page.sequence(texts);
            for (std::size_t i = 0; i < sequence.size(); ++i) {
                unsigned pause = 0;
                for (unsigned after : sequence[i].pausesAfter) pause += after;
                if (i + 1 < sequence.size()) {
                    for (unsigned before : sequence[i + 1].pausesBefore) pause += before;
                }
                if (pause == 0) continue;
                EXPECT_GE(PanelPauseAfter(HeaderOf(sequence[i].line)).value_or(0), pause)
                    << page.name << ": " << sequence[i].line;
            }
        }
    }
}
