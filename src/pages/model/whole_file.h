#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace valdrix::model {

// Writes bytes to path whole or not at all: into a new file beside it, every write checked,
// flushed to the disk, then renamed over it. On any failure (a full disk, a size limit, no
// permission) the old file stays as it was; the reason is returned, in the system's words.
std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace valdrix::model
