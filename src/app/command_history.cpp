#include "app/command_history.h"

#include <utility>

namespace valdrix::gui {

namespace {

void AddTo(std::vector<std::string>& entries, const std::string& line) {
    if (entries.empty() || entries.back() != line) entries.push_back(line);
    if (entries.size() > CommandHistory::kMaxEntries) {
        entries.erase(entries.begin(),
                      entries.end() - static_cast<long>(CommandHistory::kMaxEntries));
    }
}

}  // namespace

void CommandHistory::Replace(std::vector<std::string> entries) {
    m_entries.clear();
    for (const std::string& line : entries) AddTo(m_entries, line);
    m_added.clear();
    m_typed.clear();
    m_place = m_entries.size();
}

void CommandHistory::Add(const std::string& line) {
    AddTo(m_entries, line);
    AddTo(m_added, line);
    m_typed.clear();
    m_place = m_entries.size();
}

std::string CommandHistory::Older(const std::string& shown) {
    if (m_place == m_entries.size()) m_typed = shown;
    if (m_place > 0) --m_place;
    return m_place < m_entries.size() ? m_entries[m_place] : m_typed;
}

std::string CommandHistory::Newer() {
    if (m_place < m_entries.size()) ++m_place;
    return m_place < m_entries.size() ? m_entries[m_place] : m_typed;
}

std::vector<std::string> MergedHistory(std::vector<std::string> kept,
                                       const std::vector<std::string>& added) {
    std::vector<std::string> merged;
    for (const std::string& line : kept) AddTo(merged, line);
    for (const std::string& line : added) AddTo(merged, line);
    return merged;
}

}  // namespace valdrix::gui
