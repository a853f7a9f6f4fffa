// Text put together in a caller's buffer, without allocating: what does not
// fit is left out, and the buffer always ends in a zero.
#pragma once

#include <cstddef>

namespace yarx::chart {

class TextWriter {
public:
    // size > 0
    TextWriter(char *out, std::size_t size) : out_(out), size_(size) { out_[0] = '\0'; }
    void put(char c) {
        if (length_ + 1 >= size_) return;
        out_[length_++] = c;
        out_[length_] = '\0';
    }
    void put(const char *text) {
        while (*text) put(*text++);
    }

private:
    char *out_;
    std::size_t size_;
    std::size_t length_ = 0;
};

}  // namespace yarx::chart
