// The setup program's two pictures, made from the game's own: a slice of the stage backdrop
// with the title on it (its welcome and finish pages) and the name banner on the backdrop (the
// header of its other pages).
#include "artgen.h"

struct Rect {
    int x, y, w, h;
};

// Shrinks the part `from` of src onto the part `to` of dst: each pixel of `to` averages the
// source pixels under it and covers what is there as far as they are not MASK.
static void shrink_onto(BITMAP *src, Rect from, BITMAP *dst, Rect to) {
    for (int j = 0; j < to.h; j++)
        for (int i = 0; i < to.w; i++) {
            int x0 = from.x + i * from.w / to.w, x1 = from.x + (i + 1) * from.w / to.w;
            int y0 = from.y + j * from.h / to.h, y1 = from.y + (j + 1) * from.h / to.h;
            int n = 0, r = 0, g = 0, b = 0;
            for (int y = y0; y < y1; y++)
                for (int x = x0; x < x1; x++) {
                    int p = _getpixel32(src, x, y);
                    if (p == MASK)
                        continue;
                    n++, r += getr32(p), g += getg32(p), b += getb32(p);
                }
            int all = (x1 - x0) * (y1 - y0), under = _getpixel32(dst, to.x + i, to.y + j);
            if (n == 0)
                continue;
            Rgb mean = {(r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n};
            Rgb was = {getr32(under), getg32(under), getb32(under)};
            _putpixel32(dst, to.x + i, to.y + j, rgb_colour(mix(was, mean, (float)n / all)));
        }
}

// The backdrop's part `from` shrunk to a w x h picture, with the title's part `title_from`
// shrunk onto it at `title_to`.
static BITMAP *compose(int w, int h, Rect from, Rect title_from, Rect title_to) {
    BITMAP *backdrop = draw_backdrop(), *title = draw_title(), *out = create_bitmap_ex(32, w, h);
    if (backdrop && title && out) {
        shrink_onto(backdrop, from, out, {0, 0, w, h});
        shrink_onto(title, title_from, out, title_to);
    }
    if (backdrop)
        destroy_bitmap(backdrop);
    if (title)
        destroy_bitmap(title);
    if (out && (!backdrop || !title)) {
        destroy_bitmap(out);
        out = nullptr;
    }
    return out;
}

// 164 x 314: the backdrop's middle, where the spotlights meet, with the whole title near the top.
BITMAP *draw_setup_side(void) {
    return compose(164, 314, {125, 0, 251, 480}, {0, 0, 460, 360}, {7, 40, 150, 117});
}

// 150 x 57: the band of the backdrop around its horizon light with the name banner across it.
BITMAP *draw_setup_header(void) {
    return compose(150, 57, {0, 48, 640, 243}, {0, 120, 460, 124}, {3, 9, 144, 39});
}
