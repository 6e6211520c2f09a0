#include "link/line_buffer.h"

#include <new>

LineBuffer LineBuffer::Obtain() {
    return LineBuffer(std::unique_ptr<char[]>(new (std::nothrow) char[kSize]));
}
