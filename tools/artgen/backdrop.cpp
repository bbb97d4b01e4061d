// The studio backdrop behind the board: a dark-blue wall with soft rays from above, two
// spotlight beams, a glowing horizon, a gridded floor with a lit stage ring and a few sparkles.
// The lights fade out before the ladder column (only the horizon reaches across, dimmed) and
// stay faint in the middle, where the translucent boxes and white texts sit.
#include "artgen.h"
#include <cmath>
#include <vector>

static const int W = 640, H = 480;
static const float HORIZON = 312, CENTRE_X = 250;

struct Light {
    float r, g, b;
};

static float clamp01(float v) {
    return v < 0 ? 0 : v > 1 ? 1 : v;
}

// 0 at e0, 1 at e1, smooth in between.
static float smooth(float e0, float e1, float v) {
    float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// A soft bell: 1 at 0, falling off with distance d.
static float bell(float d) {
    return 1 / (1 + d * d);
}

static float length(float dx, float dy) {
    return std::sqrt(dx * dx + dy * dy);
}

static Light lerp(Light a, Light b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

static void add(Light &to, Light c, float amount) {
    to.r += c.r * amount;
    to.g += c.g * amount;
    to.b += c.b * amount;
}

// The wall darkens upwards; the floor darkens towards the viewer.
static Light base(float y) {
    if (y < HORIZON) {
        float t = y / HORIZON;
        return lerp({3, 5, 22}, {16, 38, 100}, t * t);
    }
    return lerp({18, 40, 104}, {4, 8, 30}, std::sqrt((y - HORIZON) / (H - HORIZON)));
}

// Beams fanning down from a source above the top edge, fading before the middle.
static float rays(float x, float y) {
    float t = (x - CENTRE_X) / (y + 160);
    int k = (int)std::floor(t / 0.22f + 0.5f);
    float beam = 1 - smooth(0, 0.055f, std::fabs(t - k * 0.22f));
    return beam * (k % 2 ? 0.6f : 1) * (1 - smooth(0, 290, y));
}

// A spotlight cone from a lamp above the top edge to a point on the floor.
static float cone(float x, float y, Pt lamp, Pt aim) {
    float ax = aim.x - lamp.x, ay = aim.y - lamp.y, len = std::sqrt(ax * ax + ay * ay);
    ax /= len;
    ay /= len;
    float px = x - lamp.x, py = y - lamp.y;
    float along = px * ax + py * ay, across = std::fabs(px * ay - py * ax);
    float half = 8 + along * 0.15f;
    return (1 - smooth(0.45f * half, half, across)) * (1 - 0.5f * smooth(0, len, along));
}

// The floor's perspective grid: lines towards the vanishing point and rows that close up
// towards the horizon.
static float floor_grid(float x, float y) {
    float depth = y - HORIZON;
    if (depth <= 0)
        return 0;
    float u = (x - CENTRE_X) / depth;
    float off = std::fabs(u - std::floor(u / 0.36f + 0.5f) * 0.36f) * depth;
    float grid = 1 - smooth(0, 1.2f, off);
    float row = 6;
    for (int k = 0; k < 9; k++, row *= 1.45f)
        grid = std::fmax(grid, 1 - smooth(0, 1.1f, std::fabs(depth - row)));
    return grid * smooth(0, 70, depth);
}

// The stage: a lit glass platform on the floor below the board, with a glowing rim. It is
// bright where the intro's dark-blue hint line is printed (y 450), so the hint stays legible.
static const float STAGE_Y = 453, STAGE_RX = 236, STAGE_RY = 33;

static void stage(Light &c, float x, float y, float decor) {
    float dx = (x - CENTRE_X) / STAGE_RX, dy = (y - STAGE_Y) / STAGE_RY;
    float q = std::sqrt(dx * dx + dy * dy);
    float glass = 1 - smooth(0.8f, 1, q);
    add(c, {110, 150, 215}, decor * glass * (0.75f + 0.25f * (1 - dx * dx)));
    add(c, {150, 210, 255}, 0.6f * decor * bell((q - 1) * 18));
}

static Light lit_pixel(float x, float y) {
    Light c = base(y);
    float decor = 1 - smooth(462, 498, x);
    add(c, {20, 40, 104}, 0.55f * decor * bell(length((x - CENTRE_X) / 230, (y + 30) / 150)));
    add(c, {60, 100, 190}, 0.2f * decor * rays(x, y));
    float beams = cone(x, y, {30, -40}, {140, 470}) + cone(x, y, {470, -40}, {360, 470});
    add(c, {80, 130, 255}, 0.13f * decor * beams);
    for (float px : {140.0f, 360.0f})
        add(c, {80, 140, 255}, 0.35f * decor * bell(length((x - px) / 60, (y - 468) / 14)));
    add(c, {30, 70, 170}, 0.5f * bell((y - HORIZON) / 8) * (0.3f + 0.7f * decor));
    add(c, {50, 110, 220}, 0.16f * decor * floor_grid(x, y));
    float vx = (x - CENTRE_X) / 430, vy = (y - 220) / 330;
    float v = 1 - 0.45f * (vx * vx + vy * vy);
    c = {c.r * v, c.g * v, c.b * v};
    stage(c, x, y, decor);
    return c;
}

// Small sparkles on the wall, at fixed places from a fixed-seed generator.
static void sparkles(std::vector<Light> &img) {
    unsigned state = 20240611u;
    auto next = [&state](unsigned range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (int i = 0; i < 70; i++) {
        int sx = next(470), sy = next(250), strength = 40 + next(60);
        for (int y = sy - 3; y <= sy + 3; y++)
            for (int x = sx - 3; x <= sx + 3; x++)
                if (x >= 0 && y >= 0 && x < W) {
                    float d = length(x - sx, y - sy) * 1.6f;
                    add(img[y * W + x], {0.8f, 0.9f, 1}, strength * bell(d) * bell(d));
                }
    }
}

// Ordered dithering, so that the slow gradients show no bands.
static const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

static int channel(float v, int x, int y) {
    int c = (int)std::floor(v + (BAYER[y % 4][x % 4] + 0.5f) / 16);
    return c < 0 ? 0 : c > 255 ? 255 : c;
}

BITMAP *draw_backdrop(void) {
    BITMAP *b = create_bitmap_ex(32, W, H);
    if (!b)
        return nullptr;
    std::vector<Light> img(W * H);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            img[y * W + x] = lit_pixel(x + 0.5f, y + 0.5f);
    sparkles(img);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            Light c = img[y * W + x];
            putpixel(b, x, y,
                     makecol32(channel(c.r, x, y), channel(c.g, x, y), channel(c.b, x, y)));
        }
    return b;
}
