// Text put together in a caller's buffer, without allocating: what does not
// fit is left out, and the buffer always ends in a zero.  And the one walk
// through a template's % sequences that every line of the chart window's
// words takes.
#pragma once

#include <cstddef>

namespace yarx::chart {

// µm and a middle dot in UTF-8, as the files and the figure's captions take
// text; the window's fonts take Latin-1.
constexpr const char *micrometres = "\xc2\xb5m";
constexpr const char *middle_dot = " \xc2\xb7 ";

// A byte that carries on a UTF-8 character rather than starting one.
constexpr bool continues_character(char byte) {
    return (static_cast<unsigned char>(byte) & 0xc0) == 0x80;
}

// The length of the longest start of text, at most length bytes, that ends
// between two characters; text[length] must be readable (its zero will do).
constexpr std::size_t character_cut(const char *text, std::size_t length) {
    while (length > 0 && continues_character(text[length])) --length;
    return length;
}

class TextWriter {
public:
    // size > 0
    TextWriter(char *out, std::size_t size) : out_(out), size_(size) { out_[0] = '\0'; }
    // Once a byte does not fit, the text ends after its last whole
    // character, and nothing more is taken: what is left out goes whole.
    void put(char c) {
        if (full_) return;
        if (length_ + 1 >= size_) {
            full_ = true;
            out_[length_] = c;  // the cut looks at the byte that did not fit
            length_ = character_cut(out_, length_);
            out_[length_] = '\0';
            return;
        }
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
    bool full_ = false;
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
