#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace valdrix::gui {

// The console's lines, oldest first, as a shell keeps them: Up recalls older lines, Down newer
// ones and at last the line that was being typed when Up was first pressed. A line equal to the
// newest one is not kept twice.
class CommandHistory {
public:
    static constexpr std::size_t kMaxEntries = 200;

    void Replace(std::vector<std::string> entries);
    void Add(const std::string& line);
    // The line to show after Up or Down, given the line shown; Up at the oldest line stays there.
    std::string Older(const std::string& shown);
    std::string Newer();
    const std::vector<std::string>& Entries() const { return m_entries; }
    // The lines added since the last Replace, oldest first.
    const std::vector<std::string>& Added() const { return m_added; }

private:
    std::vector<std::string> m_entries;
    std::vector<std::string> m_added;
    // The line shown; m_entries.size() stands for the line being typed, after the newest.
    std::size_t m_place = 0;
    // The line being typed, unsent, kept while the operator browses.
    std::string m_typed;
};

// The lines added in this window after those another one kept: newest last, a line equal to
// the one before it once, and kMaxEntries at most.
std::vector<std::string> MergedHistory(std::vector<std::string> kept,
                                       const std::vector<std::string>& added);

}  // namespace valdrix::gui
