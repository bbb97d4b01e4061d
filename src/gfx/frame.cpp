// Frame composition: the layers, the translucent blend and showing a frame on the screen.
#include <cstdint>
#include "gfx/gfx.h"

BITMAP *back_buffer;
BITMAP *scene_layer;
BITMAP *text_layer;
BITMAP *panel_layer;

void (*frame_shown_hook)(void);

// One channel of the blend: the product rounded to single precision, the sum formed exactly
// in double precision, then truncated toward zero.
static inline int blend_channel(int d, float product) {
    return (int)((double)d + (double)product);
}

// Blends one row of pixels; products[diff + 255] holds (float)diff * alpha.
static void blend_row(const uint32_t *src, uint32_t *dst, int w, const float *products) {
    const int rs = _rgb_r_shift_32, gs = _rgb_g_shift_32, bs = _rgb_b_shift_32;
    for (int x = 0; x < w; x++) {
        uint32_t s = src[x];
        if (s == (uint32_t)MASK_COLOR)
            continue;
        uint32_t d = dst[x];
        int dr = (d >> rs) & 0xFF, dg = (d >> gs) & 0xFF, db = (d >> bs) & 0xFF;
        int r = blend_channel(dr, products[(int)((s >> rs) & 0xFF) - dr + 255]);
        int g = blend_channel(dg, products[(int)((s >> gs) & 0xFF) - dg + 255]);
        int b = blend_channel(db, products[(int)((s >> bs) & 0xFF) - db + 255]);
        dst[x] = ((uint32_t)r << rs) | ((uint32_t)g << gs) | ((uint32_t)b << bs);
    }
}

// Reads and writes the rows of 32-bit memory bitmaps directly; every product a pixel can need
// is worked out once per call, so each pixel costs three table look-ups.
void blend_translucent(BITMAP *src, BITMAP *dst, int sx, int sy, int dx, int dy, int w, int h,
                       float alpha) {
    if (w <= 0 || h <= 0)
        return;
    float products[511];
    for (int diff = -255; diff <= 255; diff++)
        products[diff + 255] = (float)diff * alpha;
    for (int y = 0; y < h; y++) {
        const uint32_t *s = (const uint32_t *)src->line[sy + y] + sx;
        uint32_t *d = (uint32_t *)dst->line[dy + y] + dx;
        blend_row(s, d, w, products);
    }
}

void finish_frame(void) {
    draw_sprite(back_buffer, cursor_image, mouse_x, mouse_y);
    blit(back_buffer, screen, 0, 0, 0, 0, FRAME_W, FRAME_H);
    if (frame_shown_hook)
        frame_shown_hook();
}

void present_frame(void) {
    blit(scene_layer, back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
    draw_sprite(back_buffer, text_layer, 0, 0);
    finish_frame();
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void set_text_background(int mode) {
    text_mode(mode);
}
#pragma GCC diagnostic pop

int lifeline_icon_x(int k) {
    return 110 + 140 * k - lifeline_sheet->w / 2;
}
