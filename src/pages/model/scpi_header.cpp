#include "pages/model/scpi_header.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <string>
#include <vector>

#include "pages/model/page_catalogue.h"

namespace valdrix::model {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// The short form of a pattern's node: its leading capitals, digits and "*".
std::string_view ShortForm(std::string_view node) {
    const auto end = std::find_if(node.begin(), node.end(), [](char c) {
        return std::islower(static_cast<unsigned char>(c)) != 0;
    });
    return node.substr(0, static_cast<std::size_t>(end - node.begin()));
}

bool NodeMatches(std::string_view patternNode, std::string_view node) {
    return SameIgnoringCase(patternNode, node) || SameIgnoringCase(ShortForm(patternNode), node);
}

// Takes the next node off the front of a header.
std::string_view NextNode(std::string_view& header) {
    const std::size_t colon = header.find(':');
    const std::string_view node = header.substr(0, colon);
    header.remove_prefix(colon == std::string_view::npos ? header.size() : colon + 1);
    return node;
}

// A header without its optional root node SOURce, when a node follows it.
std::string_view WithoutSourceRoot(std::string_view header) {
    std::string_view rest = header;
    return NodeMatches("SOURce", NextNode(rest)) && !rest.empty() ? rest : header;
}

// Where each ";" that ends a unit stands: not inside a string in double or single quotes.
std::vector<std::size_t> UnitEnds(std::string_view line) {
    std::vector<std::size_t> ends;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (quote != 0) {
            if (line[i] == quote) quote = 0;
        } else if (line[i] == '"' || line[i] == '\'') {
            quote = line[i];
        } else if (line[i] == ';') {
            ends.push_back(i);
        }
    }
    ends.push_back(line.size());
    return ends;
}

// A command header sets the path to its nodes but the last; a leading colon starts from the root
// and a common command ("*CLS") leaves the path as it was.
std::string FullHeader(std::string_view header, std::string& path) {
    if (header.starts_with('*')) return std::string(header);
    std::string full =
        header.starts_with(':') ? std::string(header.substr(1)) : path + std::string(header);
    const std::size_t lastColon = full.rfind(':');
    path = lastColon == std::string::npos ? std::string() : full.substr(0, lastColon + 1);
    return full;
}

unsigned Total(const std::vector<unsigned>& pauses) {
    return std::accumulate(pauses.begin(), pauses.end(), 0U);
}

struct HeaderPause {
    std::string header;
    unsigned milliseconds;
};

// After a line the panel waits the pauses that follow it and those before the next line.
void AddPausesOf(const CommandSequence& sequence, std::vector<HeaderPause>& table) {
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        const unsigned pause = Total(sequence[i].pausesAfter) +
                               (i + 1 < sequence.size() ? Total(sequence[i + 1].pausesBefore) : 0);
        if (pause > 0) table.push_back({std::string(HeaderOf(sequence[i].line)), pause});
    }
}

// Every page of the catalogue at its defaults and in each of its variants.
std::vector<HeaderPause> PanelPauses() {
    std::vector<HeaderPause> table;
    for (const CataloguePage& page : PageCatalogue()) {
        AddPausesOf(page.sequence({}), table);
        for (const FieldTexts& variant : page.variants) AddPausesOf(page.sequence(variant), table);
    }
    return table;
}

}  // namespace

std::string_view HeaderOf(std::string_view line) {
    const std::size_t start = std::min(line.find_first_not_of(' '), line.size());
    line.remove_prefix(start);
    return line.substr(0, line.find(' '));
}

bool HeaderMatches(std::string_view pattern, std::string_view header) {
    if (header.starts_with(':')) header.remove_prefix(1);
    if (pattern.ends_with('?') != header.ends_with('?')) return false;
    if (pattern.ends_with('?')) {
        pattern.remove_suffix(1);
        header.remove_suffix(1);
    }
    pattern = WithoutSourceRoot(pattern);
    header = WithoutSourceRoot(header);
    while (!pattern.empty() && !header.empty()) {
        if (!NodeMatches(NextNode(pattern), NextNode(header))) return false;
    }
    return pattern.empty() && header.empty();
}

std::vector<MessageUnit> MessageUnits(std::string_view line) {
    std::vector<MessageUnit> units;
    std::string path;
    std::size_t start = 0;
    for (const std::size_t end : UnitEnds(line)) {
        std::string_view text = line.substr(start, end - start);
        start = end + 1;
        text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
        if (text.find_first_not_of(' ') == std::string_view::npos) continue;
        const std::string_view header = HeaderOf(text);
        units.push_back({std::string(text), std::string(header), FullHeader(header, path)});
    }
    return units;
}

std::optional<unsigned> PanelPauseAfter(std::string_view header) {
    static const std::vector<HeaderPause> table = PanelPauses();
    std::optional<unsigned> longest;
    for (const HeaderPause& entry : table) {
        if (HeaderMatches(entry.header, header)) {
            longest = std::max(longest.value_or(0), entry.milliseconds);
        }
    }
    return longest;
}

}  // namespace valdrix::model
