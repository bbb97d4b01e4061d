// The game's font: the library's 8x8 font with glyphs of our own for the accented capitals of
// Slovak and Czech and for Slovak typography, and the characters it can draw.
#include "gfx/gfx.h"
#include <allegro/internal/aintern.h>

FONT *const library_font = font;

namespace {
// Glyphs of our own, 8 x 8 pixels each ('#' ink), side by side under the characters they draw.
// A capital with an accent is the library's capital one row shorter, in rows 1 to 6, under its
// accent in row 0, so it stands taller than a lower-case letter (rows 2 to 6 under an accent).
// Ľ keeps the whole L with its caron beside it.
struct Sheet {
    const char *characters;
    const char *rows[8];
};
} // namespace
static const Sheet SHEETS[] = {
    {"ÁÄČĎÉĚÍĹ",
     {"....##.. ##..##.. ..#.#... ..#.#... ....##.. ..#.#... ....##.. ....##..",
      "..##.... ..##.... ..####.. #####... #######. #######. .####... ####....",
      ".####... .####... .##..##. .##.##.. .##...#. .##...#. ..##.... .##.....",
      "##..##.. ##..##.. ##...... .##..##. .####... .####... ..##.... .##.....",
      "######.. ######.. ##...... .##..##. .##.#... .##.#... ..##.... .##...#.",
      "##..##.. ##..##.. .##..##. .##.##.. .##...#. .##...#. ..##.... .##..##.",
      "##..##.. ##..##.. ..####.. #####... #######. #######. .####... #######.",
      "........ ........ ........ ........ ........ ........ ........ ........"}},
    {"ĽŇÓÔÖŔŘŠ",
     {"####.#.. ..#.#... ....##.. .#...#.. ##...##. ....##.. ..#.#... ..#.#...",
      ".##.#... ##...##. ..###... ..###... ..###... ######.. ######.. .#####..",
      ".##..... ###..##. .##.##.. .##.##.. .##.##.. .##..##. .##..##. ##...##.",
      ".##..... ####.##. ##...##. ##...##. ##...##. .#####.. .#####.. .####...",
      ".##...#. ##.####. ##...##. ##...##. ##...##. .##.##.. .##.##.. ....###.",
      ".##..##. ##..###. .##.##.. .##.##.. .##.##.. .##..##. .##..##. ##...##.",
      "#######. ##...##. ..###... ..###... ..###... ###..##. ###..##. .#####..",
      "........ ........ ........ ........ ........ ........ ........ ........"}},
    {"ŤÚŮÜÝŽ„“",
     {"..#.#... ...##... ..##.... .#..#... ...##... ..#.#... ........ ..##.##.",
      "######.. ##..##.. ##..##.. ##..##.. ##..##.. #######. ........ .##.##..",
      "#.##.#.. ##..##.. ##..##.. ##..##.. ##..##.. #...##.. ........ .##.##..",
      "..##.... ##..##.. ##..##.. ##..##.. .####... ...##... ........ ........",
      "..##.... ##..##.. ##..##.. ##..##.. ..##.... ..##..#. ........ ........",
      "..##.... ##..##.. ##..##.. ##..##.. ..##.... .##..##. .##.##.. ........",
      ".####... ######.. ######.. ######.. .####... #######. .##.##.. ........",
      "........ ........ ........ ........ ........ ........ ##.##... ........"}},
    // ” ‚ ‘ ’ – — … and the no-break space
    {"”‚‘’–—…\u00A0",
     {".##.##.. ........ ...##... ..##.... ........ ........ ........ ........",
      ".##.##.. ........ ..##.... ..##.... ........ ........ ........ ........",
      "##.##... ........ ..##.... .##..... ........ ........ ........ ........",
      "........ ........ ........ ........ #######. ######## ........ ........",
      "........ ........ ........ ........ ........ ........ ........ ........",
      "........ ..##.... ........ ........ ........ ........ ##.##.## ........",
      "........ ..##.... ........ ........ ........ ........ ##.##.## ........",
      "........ .##..... ........ ........ ........ ........ ........ ........"}},
};
constexpr int PER_SHEET = 8, GLYPHS = PER_SHEET * sizeof SHEETS / sizeof SHEETS[0];

// A glyph as the library keeps it: its size, then a byte a row, the leftmost pixel the top bit.
struct GlyphBits {
    short w, h;
    unsigned char rows[8];
};
static GlyphBits glyph_bits[GLYPHS];
static FONT_GLYPH *glyphs[GLYPHS];
static FONT_MONO_DATA ascii, ranges[GLYPHS];
static FONT built;

// The library's first range (ASCII, which most text is, so it is found at once), then one range
// a glyph of ours, then the library's other ranges, whose glyphs ours stand in for.
static FONT *build_font(void) {
    const FONT_MONO_DATA *library = static_cast<const FONT_MONO_DATA *>(library_font->data);
    int n = 0;
    for (const Sheet &sheet : SHEETS) {
        const char *c = sheet.characters;
        for (int k = 0; k < PER_SHEET; k++, n++) {
            GlyphBits &g = glyph_bits[n];
            g = {8, 8, {}};
            for (int y = 0; y < 8; y++)
                for (int x = 0; x < 8; x++)
                    g.rows[y] |= (sheet.rows[y][9 * k + x] == '#') << (7 - x);
            glyphs[n] = reinterpret_cast<FONT_GLYPH *>(&g);
            int code = ugetxc(&c);
            ranges[n] = {code, code + 1, &glyphs[n],
                         n + 1 < GLYPHS ? &ranges[n + 1] : library->next};
        }
    }
    ascii = {library->begin, library->end, library->glyphs, ranges};
    built = {&ascii, library_font->height, library_font->vtable};
    return &built;
}

FONT *game_font(void) {
    static FONT *made = build_font();
    return made;
}

bool glyph_drawable(int code_point) {
    const FONT_MONO_DATA *r = static_cast<const FONT_MONO_DATA *>(game_font()->data);
    for (; r; r = r->next)
        if (code_point >= r->begin && code_point < r->end)
            return true;
    return false;
}
