#include "app/command_history.h"

#include <utility>

namespace valdrix::gui {

void CommandHistory::Replace(std::vector<std::string> entries) {
    m_entries = std::move(entries);
    if (m_entries.size() > kMaxEntries) {
        m_entries.erase(m_entries.begin(), m_entries.end() - static_cast<long>(kMaxEntries));
    }
    m_place = m_entries.size();
}

void CommandHistory::Add(const std::string& line) {
    if (m_entries.empty() || m_entries.back() != line) m_entries.push_back(line);
    if (m_entries.size() > kMaxEntries) m_entries.erase(m_entries.begin());
    m_place = m_entries.size();
}

std::string CommandHistory::Older() {
    if (m_place > 0) --m_place;
    return m_place < m_entries.size() ? m_entries[m_place] : std::string();
}

std::string CommandHistory::Newer() {
    if (m_place < m_entries.size()) ++m_place;
    return m_place < m_entries.size() ? m_entries[m_place] : std::string();
}

}  // namespace valdrix::gui
