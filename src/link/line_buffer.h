#pragma once

#include <cstddef>
#include <memory>

namespace valdrix::link {

// The buffer one send writes its lines through: taken before the first line, reused for
// each line, given back after the last.
class LineBuffer {
public:
    static constexpr std::size_t kSize = 1024;

    // Empty when the memory could not be had; nothing may be written then.
    static LineBuffer Obtain();

    bool IsValid() const { return m_bytes != nullptr; }
    char* Data() { return m_bytes.get(); }

private:
    explicit LineBuffer(std::unique_ptr<char[]> bytes) : m_bytes(std::move(bytes)) {}
    std::unique_ptr<char[]> m_bytes;
};

}  // namespace valdrix::link
