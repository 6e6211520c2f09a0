#pragma once

#include <optional>
#include <string>

#include "link/link_choice.h"

namespace valdrix::link {

// A line end owed to the instrument outlives the program that owes it: a marker file per
// link, named by the link's spelling, makes the next run of any of the programs on that link
// send the line end first, so that the fragment at the instrument is never glued to a command.
// The marker lives under $XDG_RUNTIME_DIR, or a private folder of the temporary folder when
// that is unset, and exists only while a line end is owed.
class OwedLineEndMarker {
public:
    explicit OwedLineEndMarker(const LinkChoice& link);

    bool Exists() const;
    // Makes or removes the marker; why that failed, if it did.
    std::optional<std::string> Set(bool owed) const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_folder;
    std::string m_path;
};

}  // namespace valdrix::link
