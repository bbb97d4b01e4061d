// The small pictures: the pointer, the lifeline sheet (three badges and the used mark) and
// the exit button.
#include "artgen.h"
#include <cmath>
#include <initializer_list>

// The pointer, pixel by pixel: '#' outline, 'o' fill, '.' transparent. Its tip is the
// top-left pixel, the hot spot.
static const char *const POINTER[] = {
    "#...........", "##..........", "#o#.........", "#oo#........", "#ooo#.......",
    "#oooo#......", "#ooooo#.....", "#oooooo#....", "#ooooooo#...", "#oooooooo#..",
    "#ooooooooo#.", "#oooooo#####", "#ooo#oo#....", "#oo##oo#....", "#o#..#oo#...",
    "##...#oo#...", "#.....#oo#..", "......#oo#..", ".......##...",
};

BITMAP *draw_pointer(void) {
    const int w = 12, h = sizeof POINTER / sizeof *POINTER;
    BITMAP *b = create_bitmap_ex(32, w, h);
    if (!b)
        return nullptr;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            char c = POINTER[y][x];
            // The fill darkens slightly towards the tail, which reads as a lit surface.
            Rgb fill = mix({255, 255, 255}, {196, 206, 228}, y / (float)h);
            putpixel(b, x, y,
                     c == '#'   ? makecol32(16, 20, 40)
                     : c == 'o' ? rgb_colour(fill)
                                : MASK);
        }
    return b;
}

// Sizes of the lifeline sheet: four rows of ROW_H, the badges within each row.
static const int SHEET_W = 100, ROW_H = 40;

// A bar of half thickness t from a to b, as a four-cornered shape.
static Shape bar(Pt a, Pt b, float t) {
    float dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    float nx = -dy / len * t, ny = dx / len * t;
    return {
        1,
        4,
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}};
}

static const Rgb NAVY = {6, 14, 48}, NIGHT = {8, 10, 30};

// The badge every lifeline icon sits on: a blue capsule with a gold edge.
static void badge(BITMAP *canvas, BITMAP *stencil, float oy) {
    stencil_stadium(stencil, 4, oy + 3, 96, oy + 37);
    paint_stencil(
        canvas, stencil,
        {{58, 112, 218}, {8, 22, 78}, oy + 3, oy + 37, 0.8f, {236, 186, 64}, 1.6f, NIGHT, 1});
}

// Row 0: the fifty-fifty.
static void fifty_fifty(BITMAP *canvas, BITMAP *stencil, float oy) {
    stencil_text(stencil, "50:50", SHEET_W / 2.0f, oy + 10, 2);
    paint_stencil(canvas, stencil,
                  {{255, 255, 255}, {255, 210, 110}, oy + 10, oy + 30, 0, NAVY, 1.5f, NAVY, 0});
}

// Row 1: the switch, two arrows pointing opposite ways.
static void switch_arrows(BITMAP *canvas, BITMAP *stencil, float oy) {
    static const Shape RIGHT = {
        1, 7, {{25, 10.5f}, {57, 10.5f}, {57, 5}, {71, 13}, {57, 21}, {57, 15.5f}, {25, 15.5f}}};
    static const Shape LEFT = {
        1, 7, {{75, 24.5f}, {43, 24.5f}, {43, 19}, {29, 27}, {43, 35}, {43, 29.5f}, {75, 29.5f}}};
    stencil_shapes(stencil, &RIGHT, 1, 0, oy, 1);
    paint_stencil(canvas, stencil,
                  {{210, 255, 255}, {60, 200, 240}, oy + 5, oy + 21, 0.6f, NAVY, 1.4f, NAVY, 0});
    stencil_shapes(stencil, &LEFT, 1, 0, oy, 1);
    paint_stencil(canvas, stencil,
                  {{255, 236, 170}, {255, 160, 30}, oy + 19, oy + 35, 0.6f, NAVY, 1.4f, NAVY, 0});
}

// Row 2: the third lifeline, a glowing light bulb: an idea of one's own.
static void light_bulb(BITMAP *canvas, BITMAP *stencil, float oy) {
    static const Shape GLASS[] = {
        {1, 4, {{43, 20}, {57, 20}, {54.5f, 28}, {45.5f, 28}}},
        {1, 4, {{30, 15}, {36, 15}, {36, 17.5f}, {30, 17.5f}}},
        {1, 4, {{64, 15}, {70, 15}, {70, 17.5f}, {64, 17.5f}}},
        {1, 4, {{34.5f, 5.5f}, {36.3f, 3.9f}, {40.8f, 8.4f}, {39, 10}}},
        {1, 4, {{65.5f, 5.5f}, {63.7f, 3.9f}, {59.2f, 8.4f}, {61, 10}}},
    };
    static const Shape BASE = {1, 4, {{45.5f, 27.5f}, {54.5f, 27.5f}, {54.5f, 34}, {45.5f, 34}}};
    stencil_shapes(stencil, GLASS, 5, 0, oy, 1);
    stencil_disc(stencil, 50, oy + 15.5f, 9.5f);
    paint_stencil(canvas, stencil,
                  {{255, 255, 225}, {255, 190, 30}, oy + 5, oy + 28, 0.8f, NAVY, 1.3f, NAVY, 0});
    stencil_shapes(stencil, &BASE, 1, 0, oy, 1);
    paint_stencil(canvas, stencil,
                  {{230, 232, 240}, {120, 124, 146}, oy + 27.5f, oy + 34, 0, NAVY, 1.2f, NAVY, 0});
    for (float y : {29.6f, 31.9f})
        fill_shape(canvas, {1, 4, {{45.5f, y}, {54.5f, y}, {54.5f, y + 0.8f}, {45.5f, y + 0.8f}}},
                   0, oy, 1, makecol32(70, 72, 96));
}

// Row 3: the used mark, a thick red cross; the rest of the row stays transparent.
static void used_cross(BITMAP *canvas, BITMAP *stencil, float oy) {
    Shape bars[2] = {bar({33, 6}, {67, 34}, 4.5f), bar({67, 6}, {33, 34}, 4.5f)};
    stencil_shapes(stencil, bars, 2, 0, oy, 1);
    paint_stencil(
        canvas, stencil,
        {{255, 96, 72}, {176, 8, 8}, oy + 2, oy + 38, 0.8f, {48, 0, 0}, 1.4f, {255, 236, 228}, 1});
}

BITMAP *draw_lifeline_sheet(void) {
    BITMAP *canvas = new_canvas(SHEET_W, 4 * ROW_H), *stencil = new_stencil(SHEET_W, 4 * ROW_H);
    if (!canvas || !stencil)
        return nullptr;
    void (*const icons[3])(BITMAP *, BITMAP *, float) = {fifty_fifty, switch_arrows, light_bulb};
    for (int k = 0; k < 3; k++) {
        badge(canvas, stencil, k * ROW_H);
        icons[k](canvas, stencil, k * ROW_H);
    }
    used_cross(canvas, stencil, 3 * ROW_H);
    destroy_bitmap(stencil);
    return downsample(canvas);
}

BITMAP *draw_exit_button(void) {
    const int w = 100, h = 30;
    BITMAP *canvas = new_canvas(w, h), *stencil = new_stencil(w, h);
    if (!canvas || !stencil)
        return nullptr;
    stencil_stadium(stencil, 2, 2, w - 2, h - 2);
    paint_stencil(canvas, stencil,
                  {{216, 64, 46}, {92, 8, 8}, 2, h - 2, 1, {255, 200, 90}, 1.5f, {20, 4, 4}, 1});
    stencil_text(stencil, "KONIEC", w / 2.0f, 8, 1.4f);
    paint_stencil(canvas, stencil,
                  {{255, 255, 255}, {255, 222, 170}, 8, 22, 0, {60, 0, 0}, 1.2f, {60, 0, 0}, 0});
    destroy_bitmap(stencil);
    return downsample(canvas);
}
