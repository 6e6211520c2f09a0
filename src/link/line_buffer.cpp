#include "link/line_buffer.h"

#include <new>

namespace valdrix::link {

LineBuffer LineBuffer::Obtain() {
    return LineBuffer(std::unique_ptr<char[]>(new (std::nothrow) char[kSize]));
}

}  // namespace valdrix::link
