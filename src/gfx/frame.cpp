// Frame composition: the layers, the translucent blend and showing a frame on the screen.
#include <cstdint>
#include <cstring>
#include "gfx/gfx.h"
#include "sound/sound.h"

BITMAP *back_buffer;
BITMAP *scene_layer;
BITMAP *text_layer;
BITMAP *panel_layer;

void (*frame_shown_hook)(void);

// The blend works on four pixels at a time in the compiler's portable vector types (SSE2 on
// x86-64), reading and writing the rows of 32-bit memory bitmaps directly.
typedef uint32_t Pixels4 __attribute__((vector_size(16)));
typedef int32_t Ints4 __attribute__((vector_size(16)));
typedef float Floats4 __attribute__((vector_size(16)));

static const Pixels4 MASK4 = {MASK_COLOR, MASK_COLOR, MASK_COLOR, MASK_COLOR};

struct BlendSetup {
    Floats4 alpha;
    int shifts[3]; // where red, green and blue sit in a pixel
};

static inline Pixels4 load4(const uint32_t *p) {
    Pixels4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

static inline void store4(uint32_t *p, Pixels4 v) {
    std::memcpy(p, &v, sizeof v);
}

static inline int all_zero(Pixels4 v) {
    uint64_t halves[2];
    std::memcpy(halves, &v, sizeof halves);
    return (halves[0] | halves[1]) == 0;
}

// Under the rule a channel d blended toward s becomes d + p truncated toward zero, where p is
// (s - d) * alpha rounded to single precision and the sum is exact. For alpha from 0 to 1, as
// every caller passes, d + p lies between d and s and is never negative, so truncation is the
// floor, and floor(d + p) = d + floor(p) because d is an integer. The vector multiply rounds
// exactly as a scalar single-precision one; floor(p) is the truncated p, less one where
// truncation raised a negative p.
static inline Pixels4 blend_channel(Pixels4 s, Pixels4 d, int shift, Floats4 alpha) {
    Ints4 sc = (Ints4)((s >> shift) & 0xFF), dc = (Ints4)((d >> shift) & 0xFF);
    Floats4 p = __builtin_convertvector(sc - dc, Floats4) * alpha;
    Ints4 floor_p = __builtin_convertvector(p, Ints4);
    floor_p += (Ints4)(__builtin_convertvector(floor_p, Floats4) > p); // true lanes are -1
    return (Pixels4)(dc + floor_p) << shift;
}

// Blends four pixels; where the source is MASK_COLOR the destination keeps its pixel.
static inline void blend4(const uint32_t *src, uint32_t *dst, const BlendSetup &b) {
    Pixels4 s = load4(src), keep = (Pixels4)(s == MASK4);
    if (all_zero(~keep))
        return;
    Pixels4 d = load4(dst), out = {};
    for (int shift : b.shifts)
        out |= blend_channel(s, d, shift, b.alpha);
    store4(dst, (out & ~keep) | (d & keep));
}

static inline int sixteen_masked(const uint32_t *p) {
    return all_zero((load4(p) ^ MASK4) | (load4(p + 4) ^ MASK4) | (load4(p + 8) ^ MASK4) |
                    (load4(p + 12) ^ MASK4));
}

// Most of a panel layer is MASK_COLOR, so transparent stretches are passed over sixteen pixels
// at a time. The last one to three pixels of a row go through a group of four padded with
// MASK_COLOR.
static void blend_row(const uint32_t *src, uint32_t *dst, int w, const BlendSetup &b) {
    int x = 0;
    while (x + 4 <= w) {
        if (x + 16 <= w && sixteen_masked(src + x)) {
            x += 16;
            continue;
        }
        blend4(src + x, dst + x, b);
        x += 4;
    }
    if (x == w)
        return;
    uint32_t s[4] = {MASK_COLOR, MASK_COLOR, MASK_COLOR, MASK_COLOR}, d[4] = {};
    size_t bytes = (size_t)(w - x) * sizeof(uint32_t);
    std::memcpy(s, src + x, bytes);
    std::memcpy(d, dst + x, bytes);
    blend4(s, d, b);
    std::memcpy(dst + x, d, bytes);
}

// alpha lies from 0 to 1, as every caller passes.
void blend_translucent(BITMAP *src, BITMAP *dst, int sx, int sy, int dx, int dy, int w, int h,
                       float alpha) {
    if (w <= 0 || h <= 0)
        return;
    BlendSetup b = {Floats4{} + alpha, {_rgb_r_shift_32, _rgb_g_shift_32, _rgb_b_shift_32}};
    for (int y = 0; y < h; y++) {
        const uint32_t *s = (const uint32_t *)src->line[sy + y] + sx;
        uint32_t *d = (uint32_t *)dst->line[dy + y] + dx;
        blend_row(s, d, w, b);
    }
}

int pointer_drawn_x, pointer_drawn_y;

// The pointer at the position the library reports now, read once.
static void draw_pointer(void) {
    poll_sound_keys(); // the keys of sound are read once per shown frame, with the pointer
    pointer_drawn_x = mouse_x;
    pointer_drawn_y = mouse_y;
    draw_sprite(back_buffer, cursor_image, pointer_drawn_x, pointer_drawn_y);
}

static void copy_to_screen(int x, int y, int w, int h) {
    blit(back_buffer, screen, x, y, x, y, w, h);
}

void finish_frame(void) {
    draw_pointer();
    copy_to_screen(0, 0, FRAME_W, FRAME_H);
    if (frame_shown_hook)
        frame_shown_hook();
}

void finish_frame_part(int x, int y, int w, int h) {
    int was_x = pointer_drawn_x, was_y = pointer_drawn_y;
    draw_pointer();
    copy_to_screen(x, y, w, h);
    copy_to_screen(was_x, was_y, cursor_image->w, cursor_image->h);
    copy_to_screen(pointer_drawn_x, pointer_drawn_y, cursor_image->w, cursor_image->h);
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
