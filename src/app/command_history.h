#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace valdrix::gui {

// The console's lines, oldest first, as a shell keeps them: Up recalls older lines, Down newer
// ones and at last an empty line. A line equal to the newest one is not kept twice.
class CommandHistory {
public:
    static constexpr std::size_t kMaxEntries = 200;

    void Replace(std::vector<std::string> entries);
    void Add(const std::string& line);
    // The line to show after Up or Down; Up at the oldest line stays there.
    std::string Older();
    std::string Newer();
    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
    // The line shown; m_entries.size() stands for the empty line after the newest.
    std::size_t m_place = 0;
};

}  // namespace valdrix::gui
