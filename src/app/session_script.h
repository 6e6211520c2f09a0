#pragma once

#include <optional>
#include <string>
#include <vector>

namespace valdrix::gui {

// The sends of this session as valdrix-cli commands, in order, to be saved as a shell script
// that repeats the bench procedure. A send that failed is kept as a comment saying so; a send
// refused before anything was written is not kept at all.
class SessionScript {
public:
    // command: the whole valdrix-cli command line, link option included; failure: why the send
    // did not reach the instrument, empty when it did.
    void Add(std::string command, std::string failure = {});

    // "#!/bin/sh", "set -e", then one command a line.
    std::string Text() const;

    // Writes the script, executable, whole or not at all; the reason when it could not.
    std::optional<std::string> SaveTo(const std::string& path) const;

private:
    std::vector<std::string> m_lines;
};

}  // namespace valdrix::gui
