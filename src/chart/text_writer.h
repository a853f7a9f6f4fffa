// Text put together in a caller's buffer, without allocating: what does not
// fit is left out, and the buffer always ends in a zero.  And the one walk
// through a template's % sequences that every line of the chart window's
// words takes.
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

// Writes the template, each %x through fill(x, writer), which writes what
// placeholder x stands for and returns true, or returns false when x is no
// placeholder: then the % and x are copied as they stand, as is every other
// character (a % at the very end too).
template <typename Fill>
void fill_template(const char *text_template, TextWriter &writer, Fill fill) {
    for (const char *p = text_template; *p; ++p) {
        if (*p != '%' || p[1] == '\0') {
            writer.put(*p);
            continue;
        }
        ++p;
        if (!fill(*p, writer)) {
            writer.put('%');
            writer.put(*p);
        }
    }
}

}  // namespace yarx::chart
