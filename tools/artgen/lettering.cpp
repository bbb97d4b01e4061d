// Our block lettering: each glyph is a few polygons on a grid 10 units high, with chamfered
// bowls, drawn into a stencil so that it can be painted with outline and bevel.
#include "artgen.h"

struct Glyph {
    char ch;
    float width;
    int count;
    Shape shapes[4];
};

static Shape rect(float x0, float y0, float x1, float y1, int ink = 1) {
    return {ink, 4, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}};
}

// An octagon spanning x0..x1, y0..y1 with corners cut by c: the ring of O, C and 0 and its hole.
static Shape octagon(float x0, float y0, float x1, float y1, float c, int ink) {
    return {ink,
            8,
            {{x0 + c, y0},
             {x1 - c, y0},
             {x1, y0 + c},
             {x1, y1 - c},
             {x1 - c, y1},
             {x0 + c, y1},
             {x0, y1 - c},
             {x0, y0 + c}}};
}

// The glyphs our pictures use; shapes are drawn in order, so a hole cuts what came before.
// clang-format off
static const Glyph GLYPHS[] = {
    {'R', 7, 4, {rect(0, 0, 2, 10),
                 {1, 6, {{0, 0}, {5.8f, 0}, {7, 1.2f}, {7, 4.8f}, {5.8f, 6}, {0, 6}}},
                 rect(2, 2, 5, 4, 0),
                 {1, 4, {{2.6f, 5}, {4.9f, 5}, {7.2f, 10}, {4.9f, 10}}}}},
    {'E', 6, 1, {{1, 12, {{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 4}, {5, 4}, {5, 6}, {2, 6},
                          {2, 8}, {6, 8}, {6, 10}, {0, 10}}}}},
    {'B', 7, 3, {{1, 9, {{0, 0}, {5.8f, 0}, {6.8f, 1.2f}, {6.8f, 3.9f}, {6, 5}, {7, 6.1f},
                         {7, 8.8f}, {5.8f, 10}, {0, 10}}},
                 rect(2, 2, 4.8f, 4, 0),
                 rect(2, 6, 5, 8, 0)}},
    {'I', 2, 1, {rect(0, 0, 2, 10)}},
    {'K', 7.2f, 3, {rect(0, 0, 2, 10),
                    {1, 4, {{2, 3.8f}, {4.8f, 0}, {7.2f, 0}, {2, 7.1f}}},
                    {1, 4, {{3.3f, 4.3f}, {7.2f, 10}, {4.8f, 10}, {2.2f, 6}}}}},
    {'O', 7, 2, {octagon(0, 0, 7, 10, 1.6f, 1), octagon(2, 2, 5, 8, 0.6f, 0)}},
    {'C', 7, 3, {octagon(0, 0, 7, 10, 1.6f, 1), octagon(2, 2, 5, 8, 0.6f, 0),
                 rect(4.9f, 3.7f, 7.5f, 6.3f, 0)}},
    {'N', 7, 3, {rect(0, 0, 2, 10), rect(5, 0, 7, 10),
                 {1, 4, {{0, 0}, {2.3f, 0}, {7, 10}, {4.7f, 10}}}}},
    {'0', 6, 2, {octagon(0, 0, 6, 10, 1.4f, 1), rect(2, 2, 4, 8, 0)}},
    {'5', 6, 4, {rect(0, 0, 6, 2), rect(0, 0, 2, 5.6f),
                 {1, 6, {{0, 4}, {4.8f, 4}, {6, 5.2f}, {6, 8.8f}, {4.8f, 10}, {0, 10}}},
                 rect(0, 6, 4, 8, 0)}},
    {':', 2, 2, {rect(0, 2, 2, 4), rect(0, 6, 2, 8)}},
};
// clang-format on

// Gap between two glyphs, in units.
static const float SPACING = 1.2f;

static const Glyph *glyph(char ch) {
    for (const Glyph &g : GLYPHS)
        if (g.ch == ch)
            return &g;
    return nullptr;
}

float text_units(const char *text) {
    float units = 0;
    for (const char *c = text; *c; c++)
        if (const Glyph *g = glyph(*c))
            units += g->width + (c == text ? 0 : SPACING);
    return units;
}

void stencil_text(BITMAP *stencil, const char *text, float cx, float top, float unit) {
    float x = cx - text_units(text) * unit / 2;
    for (const char *c = text; *c; c++)
        if (const Glyph *g = glyph(*c)) {
            stencil_shapes(stencil, g->shapes, g->count, x, top, unit);
            x += (g->width + SPACING) * unit;
        }
}
