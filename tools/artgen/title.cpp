// The intro picture: the name REBRIK in gold block letters on a pointed banner, in front of
// a ladder of fifteen rungs, one per question, that rises in perspective to a gold top rung
// and a star.
#include "artgen.h"
#include <initializer_list>

static const int W = 460, H = 360;
static const float MID = W / 2.0f;
static const Rgb NAVY = {8, 12, 40}, GOLD_EDGE = {236, 186, 64};

// The ladder: rails from the bottom (y 352) narrowing to the top (y 44).
static const float FOOT_Y = 352, HEAD_Y = 44, FOOT_HALF = 98, HEAD_HALF = 24;

// Half the distance between the rails at height y.
static float rail_half(float y) {
    return HEAD_HALF + (FOOT_HALF - HEAD_HALF) * (y - HEAD_Y) / (FOOT_Y - HEAD_Y);
}

static void ladder(BITMAP *canvas, BITMAP *stencil) {
    for (float side : {-1.0f, 1.0f}) {
        Shape rail = {1,
                      4,
                      {{MID + side * FOOT_HALF, FOOT_Y},
                       {MID + side * (FOOT_HALF - 15), FOOT_Y},
                       {MID + side * (HEAD_HALF - 5), HEAD_Y},
                       {MID + side * HEAD_HALF, HEAD_Y}}};
        stencil_shapes(stencil, &rail, 1, 0, 0, 1);
    }
    paint_stencil(canvas, stencil,
                  {{170, 196, 240}, {60, 84, 150}, HEAD_Y, FOOT_Y, 1, NAVY, 2, NAVY, 0});
    // Rungs close up towards the top, as they would seen from below.
    float y = 330, gap = 27.75f;
    for (int rung = 1; rung <= 15; rung++, y -= gap, gap *= 0.94f) {
        float half = rail_half(y) - 6, thick = 2 + 4.5f * (y - HEAD_Y) / (FOOT_Y - HEAD_Y);
        Shape s = {1,
                   4,
                   {{MID - half, y - thick},
                    {MID + half, y - thick},
                    {MID + half, y + thick},
                    {MID - half, y + thick}}};
        stencil_shapes(stencil, &s, 1, 0, 0, 1);
        bool top = rung == 15;
        Style st = {top ? Rgb{255, 236, 150} : Rgb{226, 236, 255},
                    top ? Rgb{220, 120, 10} : Rgb{110, 140, 210},
                    y - thick,
                    y + thick,
                    0.7f,
                    NAVY,
                    1.6f,
                    NAVY,
                    0};
        paint_stencil(canvas, stencil, st);
    }
}

// A five-pointed star crowning the ladder; corners of a unit star, outer radius 1.
static void star(BITMAP *canvas, BITMAP *stencil) {
    static const Shape STAR = {1,
                               10,
                               {{0, -1},
                                {0.2245f, -0.309f},
                                {0.9511f, -0.309f},
                                {0.3633f, 0.118f},
                                {0.5878f, 0.809f},
                                {0, 0.382f},
                                {-0.5878f, 0.809f},
                                {-0.3633f, 0.118f},
                                {-0.9511f, -0.309f},
                                {-0.2245f, -0.309f}}};
    stencil_shapes(stencil, &STAR, 1, MID, 24, 22);
    paint_stencil(canvas, stencil,
                  {{255, 250, 200}, {240, 150, 20}, 2, 42, 1.2f, NAVY, 2, GOLD_EDGE, 1});
}

// The banner across the ladder and the name on it.
static void name_banner(BITMAP *canvas, BITMAP *stencil) {
    static const Shape BANNER = {
        1, 6, {{6, 182}, {44, 126}, {416, 126}, {454, 182}, {416, 238}, {44, 238}}};
    stencil_shapes(stencil, &BANNER, 1, 0, 0, 1);
    paint_stencil(canvas, stencil,
                  {{34, 70, 168}, {6, 14, 56}, 126, 238, 1.5f, GOLD_EDGE, 2.2f, NAVY, 1.5f});
    const float unit = 8.6f, top = 182 - 5 * unit;
    stencil_text(stencil, "REBRIK", MID, top, unit);
    paint_stencil(
        canvas, stencil,
        {{255, 246, 176}, {226, 120, 8}, top, top + 10 * unit, 1.6f, NAVY, 3, {110, 170, 255}, 1});
}

BITMAP *draw_title(void) {
    BITMAP *canvas = new_canvas(W, H), *stencil = new_stencil(W, H);
    if (!canvas || !stencil)
        return nullptr;
    ladder(canvas, stencil);
    star(canvas, stencil);
    name_banner(canvas, stencil);
    destroy_bitmap(stencil);
    return downsample(canvas);
}
