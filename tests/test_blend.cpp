// The translucent blend: exact arithmetic, the mask skip, and agreement with a per-pixel
// reference written straight from the rule for every channel pair and every alpha in use.
#include <gtest/gtest.h>
#include <vector>
#include "gfx/gfx.h"
#include "harness/harness.h"

// The rule, one pixel at a time through the library's pixel calls.
static void reference_blend(BITMAP *src, BITMAP *dst, int w, int h, float alpha) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int s = getpixel(src, x, y);
            if (s == 0xFF00FF)
                continue;
            int d = getpixel(dst, x, y);
            int c[3], sc[3] = {getr(s), getg(s), getb(s)}, dc[3] = {getr(d), getg(d), getb(d)};
            for (int i = 0; i < 3; i++) {
                float p = (float)(sc[i] - dc[i]) * alpha;
                c[i] = (int)((double)dc[i] + (double)p);
            }
            putpixel(dst, x, y, makecol(c[0], c[1], c[2]));
        }
}

// Blends one source colour over one destination colour and returns the result.
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

class Blend : public ::testing::Test {
  protected:
    void SetUp() override {
        headless_init();
    }
};

// The product is rounded to single precision and the sum is truncated toward zero.
TEST_F(Blend, WorkedExamples) {
    EXPECT_EQ(blend_one(rgb(0, 0, 0), rgb(10, 10, 10), 0.75f), rgb(2, 2, 2));
    EXPECT_EQ(blend_one(rgb(10, 10, 10), rgb(0, 0, 0), 0.75f), rgb(7, 7, 7));
    EXPECT_EQ(blend_one(rgb(0, 0, 192), rgb(100, 100, 100), 0.75f), rgb(25, 25, 169));
    EXPECT_EQ(blend_one(rgb(100, 100, 100), rgb(0, 0, 0), 0.01f), rgb(1, 1, 1));
    // A sum formed in single precision would give 85 here.
    EXPECT_EQ(blend_one(rgb(0, 0, 0), rgb(100, 100, 100), 0.15f), rgb(84, 84, 84));
}

// A source pixel of exactly MASK_COLOR leaves the destination alone at any alpha; a
// destination of MASK_COLOR is blended like any other colour.
TEST_F(Blend, MaskSkippedOnlyInTheSource) {
    EXPECT_EQ(blend_one(MASK_COLOR, rgb(1, 2, 3), 1.0f), rgb(1, 2, 3));
    EXPECT_EQ(blend_one(MASK_COLOR, rgb(1, 2, 3), 0.5f), rgb(1, 2, 3));
    EXPECT_EQ(blend_one(rgb(0, 0, 0), MASK_COLOR, 1.0f), rgb(0, 0, 0));
    EXPECT_EQ(blend_one(rgb(255, 0, 254), rgb(0, 0, 0), 1.0f), rgb(255, 0, 254));
}

// Alpha 1 copies the source, alpha 0 keeps the destination.
TEST_F(Blend, AlphaEnds) {
    EXPECT_EQ(blend_one(rgb(12, 200, 99), rgb(250, 3, 40), 1.0f), rgb(12, 200, 99));
    EXPECT_EQ(blend_one(rgb(12, 200, 99), rgb(250, 3, 40), 0.0f), rgb(250, 3, 40));
}

// The blend touches exactly the given rectangle at the given offsets, and nothing for an
// empty or negative size.
TEST_F(Blend, RectangleAndOffsets) {
    BITMAP *s = create_bitmap(8, 8), *d = create_bitmap(8, 8);
    clear_to_color(s, rgb(200, 200, 200));
    clear_to_color(d, rgb(0, 0, 0));
    blend_translucent(s, d, 1, 2, 3, 4, 2, 3, 1.0f);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            bool inside = x >= 3 && x < 5 && y >= 4 && y < 7;
            EXPECT_EQ(getpixel(d, x, y), inside ? rgb(200, 200, 200) : rgb(0, 0, 0))
                << x << "," << y;
        }
    blend_translucent(s, d, 0, 0, 0, 0, 0, 8, 1.0f);
    blend_translucent(s, d, 0, 0, 0, 0, 8, -1, 1.0f);
    EXPECT_EQ(getpixel(d, 0, 0), rgb(0, 0, 0));
    destroy_bitmap(s);
    destroy_bitmap(d);
}

// Every alpha the game passes: the panels' 0.75, the final screen's i/100 and the level
// banner's (200 - n)/100 and n/100, as the callers compute them.
static std::vector<float> alphas_in_use(void) {
    std::vector<float> a = {0.75f};
    for (int i = 0; i <= 100; i++)
        a.push_back((float)(i / 100.0));
    for (int n = 200; n >= 1; n--)
        a.push_back((float)(n > 100 ? (200.0 - n) / 100.0 : n / 100.0));
    return a;
}

// For every pair of channel values 0..255 and every alpha in use, the blend equals the rule.
TEST_F(Blend, ExhaustiveAgreementWithTheRule) {
    BITMAP *s = create_bitmap(256, 256), *d = create_bitmap(256, 256);
    BITMAP *fast = create_bitmap(256, 256), *slow = create_bitmap(256, 256);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            putpixel(s, x, y, rgb(x, y, 255 - x));
            putpixel(d, x, y, rgb(y, x, 255 - y));
        }
    for (float alpha : alphas_in_use()) {
        blit(d, fast, 0, 0, 0, 0, 256, 256);
        blit(d, slow, 0, 0, 0, 0, 256, 256);
        blend_translucent(s, fast, 0, 0, 0, 0, 256, 256, alpha);
        reference_blend(s, slow, 256, 256, alpha);
        int differing = 0;
        for (int y = 0; y < 256; y++)
            for (int x = 0; x < 256; x++)
                differing += getpixel(fast, x, y) != getpixel(slow, x, y);
        ASSERT_EQ(differing, 0) << "alpha " << alpha;
    }
    destroy_bitmap(s);
    destroy_bitmap(d);
    destroy_bitmap(fast);
    destroy_bitmap(slow);
}

// Runs of every length with MASK_COLOR at scattered places, at offsets, agree with the rule:
// the fast path works on groups of pixels and must not blend a masked one or skip an unmasked
// one at any position within a group, nor touch pixels past the end of a row.
TEST_F(Blend, MixedMaskRunsOfEveryLength) {
    srand(7);
    BITMAP *s = create_bitmap(64, 40), *d = create_bitmap(64, 40);
    BITMAP *fast = create_bitmap(64, 40), *slow = create_bitmap(64, 40);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 64; x++) {
            bool masked = (x * 7 + y * 3) % 5 == 0 || (x / 16 + y) % 3 == 0;
            putpixel(s, x, y, masked ? MASK_COLOR : rgb(rand() % 256, rand() % 256, rand() % 256));
            putpixel(d, x, y, rgb(rand() % 256, rand() % 256, rand() % 256));
        }
    for (int w = 1; w <= 40; w++) {
        blit(d, fast, 0, 0, 0, 0, 64, 40);
        blit(d, fast, 0, 0, 0, 0, 64, 40);
        blit(d, slow, 0, 0, 0, 0, 64, 40);
        blend_translucent(s, fast, w % 5, 1, 3, 2, w, 30, 0.37f);
        // The reference works from (0, 0): give it the same rectangles through sub-bitmaps.
        BITMAP *src_part = create_sub_bitmap(s, w % 5, 1, w, 30);
        BITMAP *dst_part = create_sub_bitmap(slow, 3, 2, w, 30);
        reference_blend(src_part, dst_part, w, 30, 0.37f);
        destroy_bitmap(src_part);
        destroy_bitmap(dst_part);
        int differing = 0;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 64; x++)
                differing += getpixel(fast, x, y) != getpixel(slow, x, y);
        ASSERT_EQ(differing, 0) << "width " << w;
    }
    destroy_bitmap(s);
    destroy_bitmap(d);
    destroy_bitmap(fast);
    destroy_bitmap(slow);
}
