#include "notice_image.h"

namespace yarx::chart {

namespace {

// The notice, in a small 7-pixel-high font.
constexpr char notice_text[] = "YARX " YARX_VERSION " (C) 2026";

constexpr int glyph_height = 7;

// One string per pixel row, top row first; '#' is ink.  A glyph is as wide
// as its strings.
struct Glyph {
    char ch;
    const char *rows[glyph_height];
};

// clang-format off
constexpr Glyph font[] = {
    {' ', {"...",
           "...",
           "...",
           "...",
           "...",
           "...",
           "..."}},
    {'(', {"..#",
           ".#.",
           "#..",
           "#..",
           "#..",
           ".#.",
           "..#"}},
    {')', {"#..",
           ".#.",
           "..#",
           "..#",
           "..#",
           ".#.",
           "#.."}},
    {'.', {".",
           ".",
           ".",
           ".",
           ".",
           ".",
           "#"}},
    {'0', {".###.",
           "#...#",
           "#...#",
           "#...#",
           "#...#",
           "#...#",
           ".###."}},
    {'2', {".###.",
           "#...#",
           "....#",
           "...#.",
           "..#..",
           ".#...",
           "#####"}},
    {'3', {".###.",
           "#...#",
           "....#",
           "..##.",
           "....#",
           "#...#",
           ".###."}},
    {'6', {"..##.",
           ".#...",
           "#....",
           "####.",
           "#...#",
           "#...#",
           ".###."}},
    {'A', {".###.",
           "#...#",
           "#...#",
           "#####",
           "#...#",
           "#...#",
           "#...#"}},
    {'C', {".###.",
           "#...#",
           "#....",
           "#....",
           "#....",
           "#...#",
           ".###."}},
    {'R', {"####.",
           "#...#",
           "#...#",
           "####.",
           "#.#..",
           "#..#.",
           "#...#"}},
    {'X', {"#...#",
           "#...#",
           ".#.#.",
           "..#..",
           ".#.#.",
           "#...#",
           "#...#"}},
    {'Y', {"#...#",
           "#...#",
           ".#.#.",
           "..#..",
           "..#..",
           "..#..",
           "..#.."}},
};
// clang-format on

constexpr int font_size = sizeof font / sizeof font[0];
constexpr int text_size = sizeof notice_text - 1;

constexpr int string_length(const char *s) {
    int n = 0;
    while (s[n] != '\0') ++n;
    return n;
}

constexpr int glyph_width(const Glyph &g) { return string_length(g.rows[0]); }

// Index into font[], or -1 when the font lacks the character.
constexpr int glyph_index(char ch) {
    for (int i = 0; i < font_size; ++i)
        if (font[i].ch == ch) return i;
    return -1;
}

constexpr bool font_is_well_formed() {
    for (const Glyph &g : font) {
        const int width = glyph_width(g);
        for (const char *row : g.rows) {
            if (string_length(row) != width) return false;
            for (int x = 0; x < width; ++x)
                if (row[x] != '#' && row[x] != '.') return false;
        }
    }
    return true;
}

constexpr bool text_is_in_font() {
    for (int i = 0; i < text_size; ++i)
        if (glyph_index(notice_text[i]) < 0) return false;
    return true;
}

static_assert(font_is_well_formed(), "ragged glyph or stray character in the font");
static_assert(text_is_in_font(), "the notice uses a character the font lacks");

// Layout.  A row is 1 screen pixel high and a column 2 pixels wide, so a font
// pixel of 2 columns by 4 rows comes out as a square of 4 x 4 pixels.  The
// text runs down the rows with the tops of the letters to the right: glyph
// column x becomes rows, glyph row y (from the top) becomes columns counting
// down from text_top_column.
constexpr int pixel_columns = 2;
constexpr int pixel_rows = 4;
constexpr int letter_gap = 1;  // font pixels between neighbouring glyphs

constexpr int text_length() {  // in font pixels
    int length = 0;
    for (int i = 0; i < text_size; ++i) length += glyph_width(font[glyph_index(notice_text[i])]);
    return length + (text_size - 1) * letter_gap;
}

constexpr int ink_pixels() {
    int ink = 0;
    for (int i = 0; i < text_size; ++i)
        for (const char *row : font[glyph_index(notice_text[i])].rows)
            for (const char *p = row; *p != '\0'; ++p)
                if (*p == '#') ++ink;
    return ink;
}

constexpr int text_rows = text_length() * pixel_rows;
constexpr int text_top = (notice_rows - text_rows) / 2;
// Column of the tops of the letters, with the text centred across the image.
constexpr int text_top_column = (notice_columns + glyph_height * pixel_columns) / 2 - 1;

// A box around the text: one column on either side, two rows (a 3-pixel
// line, like the sides) at either end.
constexpr int frame_rows = 464;
constexpr int frame_end_rows = 2;
constexpr int frame_top = (notice_rows - frame_rows) / 2;

// How the 2416 cells come about: the notice has 176 pixels of ink at 2 x 4 = 8
// cells each, 1408 cells; the box adds two sides of 464 cells and two ends of
// 2 x 20, 1008 cells.  The box length is the free parameter that makes the
// total come out.
static_assert(ink_pixels() == 176, "the notice's ink changed; resize the box");
static_assert(frame_top >= 0 && frame_top + frame_rows <= notice_rows, "box too long");
static_assert(text_top - frame_top >= frame_end_rows + pixel_rows &&
                  frame_top + frame_rows - (text_top + text_rows) >= frame_end_rows + pixel_rows,
              "the text runs into the ends of the box");
static_assert(text_top_column - glyph_height * pixel_columns >= 1,
              "the text runs into the sides of the box");

// The image is painted once, box first and then the letters, and the array
// below is filled from the result.
struct Bitmap {
    int cells[notice_rows][notice_columns];
};

constexpr Bitmap render() {
    Bitmap image{};

    for (int r = frame_top; r < frame_top + frame_rows; ++r) {
        image.cells[r][0] = 1;
        image.cells[r][notice_columns - 1] = 1;
    }
    for (int e = 0; e < frame_end_rows; ++e)
        for (int c = 1; c < notice_columns - 1; ++c) {
            image.cells[frame_top + e][c] = 1;
            image.cells[frame_top + frame_rows - 1 - e][c] = 1;
        }

    int row = text_top;  // first row of the current glyph
    for (int i = 0; i < text_size; ++i) {
        const Glyph &g = font[glyph_index(notice_text[i])];
        const int width = glyph_width(g);
        for (int y = 0; y < glyph_height; ++y)
            for (int x = 0; x < width; ++x)
                if (g.rows[y][x] == '#')
                    for (int dr = 0; dr < pixel_rows; ++dr)
                        for (int dc = 0; dc < pixel_columns; ++dc)
                            image.cells[row + x * pixel_rows + dr]
                                       [text_top_column - y * pixel_columns - dc] = 1;
        row += (width + letter_gap) * pixel_rows;
    }
    return image;
}

constexpr Bitmap rendered = render();

constexpr int set_cells() {
    int n = 0;
    for (const auto &row : rendered.cells)
        for (int cell : row) n += cell;
    return n;
}

static_assert(set_cells() == notice_set_cells, "the notice image must have exactly 2416 cells set");

}  // namespace

const int (&notice_image)[notice_rows][notice_columns] = rendered.cells;

}  // namespace yarx::chart
