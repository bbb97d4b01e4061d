// The translucent blend: exact arithmetic, the mask skip, and agreement with a per-pixel
// reference written straight from the rule.
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
#include "gfx/gfx.h"
#include "harness/harness.h"

// The rule, one pixel at a time: the product rounded to single precision, the sum exact, then
// truncated toward zero; MASK_COLOR source pixels skipped.
static void reference_blend(BITMAP *src, BITMAP *dst, int sx, int sy, int dx, int dy, int w, int h,
                            float alpha) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int s = getpixel(src, sx + x, sy + y), d = getpixel(dst, dx + x, dy + y);
            if (s == 0xFF00FF)
                continue;
            int sc[3] = {getr(s), getg(s), getb(s)}, dc[3] = {getr(d), getg(d), getb(d)}, c[3];
            for (int i = 0; i < 3; i++)
                c[i] = (int)((double)dc[i] + (double)((float)(sc[i] - dc[i]) * alpha));
            putpixel(dst, dx + x, dy + y, makecol(c[0], c[1], c[2]));
        }
}

// Pixels of the whole destination where the game's blend and the reference disagree.
static int differences(BITMAP *src, BITMAP *dst, int sx, int sy, int dx, int dy, int w, int h,
                       float alpha) {
    BITMAP *fast = create_bitmap(dst->w, dst->h), *slow = create_bitmap(dst->w, dst->h);
    blit(dst, fast, 0, 0, 0, 0, dst->w, dst->h);
    blit(dst, slow, 0, 0, 0, 0, dst->w, dst->h);
    blend_translucent(src, fast, sx, sy, dx, dy, w, h, alpha);
    reference_blend(src, slow, sx, sy, dx, dy, w, h, alpha);
    int n = 0;
    for (int y = 0; y < dst->h; y++)
        for (int x = 0; x < dst->w; x++)
            n += getpixel(fast, x, y) != getpixel(slow, x, y);
    destroy_bitmap(fast);
    destroy_bitmap(slow);
    return n;
}

static int blend_one(int src_colour, int dst_colour, float alpha) {
    BITMAP *s = create_bitmap(1, 1), *d = create_bitmap(1, 1);
    putpixel(s, 0, 0, src_colour);
    putpixel(d, 0, 0, dst_colour);
    blend_translucent(s, d, 0, 0, 0, 0, 1, 1, alpha);
    int r = getpixel(d, 0, 0);
    destroy_bitmap(s);
    destroy_bitmap(d);
    return r;
}

// The worked examples of the rounding and truncation, the mask skipped in the source only, and
// the two ends of alpha.
TEST(Blend, WorkedExamples) {
    headless_init();
    struct Case {
        int src, dst;
        float alpha;
        int want;
    };
    for (Case c : {Case{rgb(0, 0, 0), rgb(10, 10, 10), 0.75f, rgb(2, 2, 2)},
                   Case{rgb(10, 10, 10), rgb(0, 0, 0), 0.75f, rgb(7, 7, 7)},
                   Case{rgb(0, 0, 192), rgb(100, 100, 100), 0.75f, rgb(25, 25, 169)},
                   Case{rgb(100, 100, 100), rgb(0, 0, 0), 0.01f, rgb(1, 1, 1)},
                   Case{rgb(0, 0, 0), rgb(100, 100, 100), 0.15f, rgb(84, 84, 84)}, // not 85
                   Case{MASK_COLOR, rgb(1, 2, 3), 1.0f, rgb(1, 2, 3)},
                   Case{rgb(0, 0, 0), MASK_COLOR, 1.0f, rgb(0, 0, 0)},
                   Case{rgb(12, 200, 99), rgb(250, 3, 40), 1.0f, rgb(12, 200, 99)},
                   Case{rgb(12, 200, 99), rgb(250, 3, 40), 0.0f, rgb(250, 3, 40)}})
        EXPECT_EQ(blend_one(c.src, c.dst, c.alpha), c.want)
            << std::hex << c.src << " over " << c.dst;
}

// For every pair of channel values and every alpha the game passes (0.75, the final screen's
// i/100 and the level banner's (200 - n)/100 and n/100), the blend equals the rule.
TEST(Blend, ExhaustiveAgreementWithTheRule) {
    headless_init();
    BITMAP *s = create_bitmap(256, 256), *d = create_bitmap(256, 256);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            putpixel(s, x, y, rgb(x, y, 255 - x));
            putpixel(d, x, y, rgb(y, x, 255 - y));
        }
    std::vector<float> alphas = {0.75f};
    for (int i = 0; i <= 200; i++)
        alphas.push_back((float)(i > 100 ? (200.0 - i) / 100.0 : i / 100.0));
    for (float alpha : alphas)
        ASSERT_EQ(differences(s, d, 0, 0, 0, 0, 256, 256, alpha), 0) << "alpha " << alpha;
    destroy_bitmap(s);
    destroy_bitmap(d);
}

// Rows of every width with MASK_COLOR scattered through them, at offsets: no masked pixel is
// blended, no unmasked one skipped, nothing outside the rectangle touched.
TEST(Blend, MixedMaskRunsOfEveryLength) {
    headless_init();
    srand(7);
    BITMAP *s = create_bitmap(64, 40), *d = create_bitmap(64, 40);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 64; x++) {
            bool masked = (x * 7 + y * 3) % 5 == 0 || (x / 16 + y) % 3 == 0;
            putpixel(s, x, y, masked ? MASK_COLOR : rgb(rand() % 256, rand() % 256, rand() % 256));
            putpixel(d, x, y, rgb(rand() % 256, rand() % 256, rand() % 256));
        }
    for (int w = 0; w <= 40; w++)
        ASSERT_EQ(differences(s, d, w % 5, 1, 3, 2, w, 30, 0.37f), 0) << "width " << w;
    destroy_bitmap(s);
    destroy_bitmap(d);
}
