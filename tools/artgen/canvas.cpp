// Supersampled drawing for the art generator: shapes go onto an 8-bit stencil, stencils are
// painted onto a 32-bit canvas with gradient, bevel, outline and rim, and the canvas is
// averaged down to the picture that is written out.
#include "artgen.h"
#include <cmath>
#include <cstdio>
#include <vector>

int rgb_colour(Rgb c) {
    return makecol32(c.r, c.g, c.b);
}

Rgb mix(Rgb a, Rgb b, float t) {
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return {(int)std::floor(a.r + (b.r - a.r) * t + 0.5f),
            (int)std::floor(a.g + (b.g - a.g) * t + 0.5f),
            (int)std::floor(a.b + (b.b - a.b) * t + 0.5f)};
}

BITMAP *new_canvas(int w, int h) {
    BITMAP *b = create_bitmap_ex(32, w * SS, h * SS);
    if (b)
        clear_to_color(b, MASK);
    return b;
}

BITMAP *new_stencil(int w, int h) {
    BITMAP *b = create_bitmap_ex(8, w * SS, h * SS);
    if (b)
        clear_to_color(b, 0);
    return b;
}

// Picture coordinate to canvas pixel.
static int at(float v) {
    return (int)std::floor(v * SS + 0.5f);
}

void fill_shape(BITMAP *b, const Shape &s, float dx, float dy, float scale, int colour) {
    int pts[24];
    for (int i = 0; i < s.n; i++) {
        pts[2 * i] = at(dx + s.p[i].x * scale);
        pts[2 * i + 1] = at(dy + s.p[i].y * scale);
    }
    polygon(b, s.n, pts, colour);
}

void stencil_shapes(BITMAP *stencil, const Shape *shapes, int count, float dx, float dy,
                    float scale) {
    for (int i = 0; i < count; i++)
        fill_shape(stencil, shapes[i], dx, dy, scale, shapes[i].ink);
}

void stencil_disc(BITMAP *stencil, float cx, float cy, float r) {
    circlefill(stencil, at(cx), at(cy), at(r), 1);
}

void stencil_stadium(BITMAP *stencil, float x0, float y0, float x1, float y1) {
    float r = (y1 - y0) / 2;
    rectfill(stencil, at(x0 + r), at(y0), at(x1 - r), at(y1) - 1, 1);
    stencil_disc(stencil, x0 + r, y0 + r, r);
    stencil_disc(stencil, x1 - r, y0 + r, r);
}

static bool ink(BITMAP *s, int x, int y) {
    return x >= 0 && y >= 0 && x < s->w && y < s->h && s->line[y][x];
}

// Chamfer distance (3 per straight step, 4 per diagonal) from every pixel to the nearest ink.
static std::vector<int> distance_to_ink(BITMAP *s) {
    const int far = 1 << 28, w = s->w, h = s->h;
    std::vector<int> d(w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            d[y * w + x] = s->line[y][x] ? 0 : far;
    auto relax = [&](int x, int y, int nx, int ny, int step) {
        if (nx >= 0 && ny >= 0 && nx < w && ny < h && d[ny * w + nx] + step < d[y * w + x])
            d[y * w + x] = d[ny * w + nx] + step;
    };
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            relax(x, y, x - 1, y, 3);
            relax(x, y, x - 1, y - 1, 4);
            relax(x, y, x, y - 1, 3);
            relax(x, y, x + 1, y - 1, 4);
        }
    for (int y = h - 1; y >= 0; y--)
        for (int x = w - 1; x >= 0; x--) {
            relax(x, y, x + 1, y, 3);
            relax(x, y, x + 1, y + 1, 4);
            relax(x, y, x, y + 1, 3);
            relax(x, y, x - 1, y + 1, 4);
        }
    return d;
}

// The colour of an inked canvas pixel: the gradient, lit or shaded near its edges.
static Rgb inside_colour(BITMAP *s, int x, int y, const Style &st) {
    float py = (y + 0.5f) / SS;
    Rgb c = mix(st.top, st.bottom, (py - st.y0) / (st.y1 - st.y0));
    int b = (int)(st.bevel * SS);
    if (b > 0 && !ink(s, x - b, y - b))
        return mix(c, {255, 255, 255}, 0.4f);
    if (b > 0 && !ink(s, x + b, y + b))
        return mix(c, {0, 0, 0}, 0.35f);
    return c;
}

void paint_stencil(BITMAP *canvas, BITMAP *stencil, const Style &st) {
    std::vector<int> d = distance_to_ink(stencil);
    int outline = (int)(st.outline_px * 3 * SS), rim = (int)((st.outline_px + st.rim_px) * 3 * SS);
    for (int y = 0; y < stencil->h; y++)
        for (int x = 0; x < stencil->w; x++) {
            int k = d[y * stencil->w + x];
            if (k == 0)
                _putpixel32(canvas, x, y, rgb_colour(inside_colour(stencil, x, y, st)));
            else if (k <= outline)
                _putpixel32(canvas, x, y, rgb_colour(st.outline));
            else if (k <= rim)
                _putpixel32(canvas, x, y, rgb_colour(st.rim));
        }
    clear_to_color(stencil, 0);
}

BITMAP *downsample(BITMAP *canvas) {
    int w = canvas->w / SS, h = canvas->h / SS;
    BITMAP *out = create_bitmap_ex(32, w, h);
    for (int y = 0; out && y < h; y++)
        for (int x = 0; x < w; x++) {
            int n = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < SS; sy++)
                for (int sx = 0; sx < SS; sx++) {
                    int p = _getpixel32(canvas, x * SS + sx, y * SS + sy);
                    if (p == MASK)
                        continue;
                    n++;
                    r += getr32(p);
                    g += getg32(p);
                    b += getb32(p);
                }
            int colour = MASK;
            if (2 * n >= SS * SS)
                colour = makecol32((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n);
            _putpixel32(out, x, y, colour);
        }
    destroy_bitmap(canvas);
    return out;
}

int save_picture(BITMAP *b, const char *dir, const char *name) {
    char path[4096];
    std::snprintf(path, sizeof path, "%s/%s", dir, name);
    BITMAP *flat = create_bitmap_ex(24, b->w, b->h);
    if (!flat)
        return 1;
    blit(b, flat, 0, 0, 0, 0, b->w, b->h);
    int failed = save_bitmap(path, flat, NULL) != 0;
    destroy_bitmap(flat);
    return failed;
}
