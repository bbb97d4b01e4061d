// Frame composition: the layers, the translucent blend and showing a frame on the screen.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>
#include "gfx/gfx.h"

BITMAP *back_buffer;
BITMAP *scene_layer;
BITMAP *text_layer;
BITMAP *panel_layer;

void (*frame_shown_hook)(void);

// The back buffer holds the layers as they are now, with only the pointer drawn over them.
static int board_on_back_buffer;

// Set from the system's threads: the window needs the whole frame again.
static std::atomic<bool> whole_copy_asked{false};

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

// Blends four source pixels over four of under into dst; where the source is MASK_COLOR, dst
// takes under's pixel (under may be dst itself).
static inline void blend4(const uint32_t *src, const uint32_t *under, uint32_t *dst,
                          const BlendSetup &b) {
    Pixels4 s = load4(src), keep = (Pixels4)(s == MASK4), d = load4(under);
    if (all_zero(~keep)) {
        if (under != dst)
            store4(dst, d);
        return;
    }
    Pixels4 out = {};
    for (int shift : b.shifts)
        out |= blend_channel(s, d, shift, b.alpha);
    store4(dst, (out & ~keep) | (d & keep));
}

// Lays four pixels of over onto four of under into dst, except those of MASK_COLOR.
static inline void mask4(const uint32_t *over, const uint32_t *under, uint32_t *dst,
                         const BlendSetup &) {
    Pixels4 o = load4(over), keep = (Pixels4)(o == MASK4);
    store4(dst, (o & ~keep) | (load4(under) & keep));
}

static inline int sixteen_masked(const uint32_t *p) {
    return all_zero((load4(p) ^ MASK4) | (load4(p + 4) ^ MASK4) | (load4(p + 8) ^ MASK4) |
                    (load4(p + 12) ^ MASK4));
}

// One row of w pixels of src laid over under into dst by op, four at a time. Most of a panel or
// text layer is MASK_COLOR, so transparent stretches are passed over sixteen pixels at a time:
// dst keeps its pixels there, or takes under's. The last one to three pixels of a row go through
// a group of four padded with MASK_COLOR.
template <void (*op)(const uint32_t *, const uint32_t *, uint32_t *, const BlendSetup &)>
static void layer_row(const uint32_t *src, const uint32_t *under, uint32_t *dst, int w,
                      const BlendSetup &b) {
    int x = 0;
    for (; x + 16 <= w; x += 16) {
        if (!sixteen_masked(src + x))
            for (int k = 0; k < 16; k += 4)
                op(src + x + k, under + x + k, dst + x + k, b);
        else if (under != dst)
            std::memcpy(dst + x, under + x, 16 * sizeof(uint32_t));
    }
    for (; x + 4 <= w; x += 4)
        op(src + x, under + x, dst + x, b);
    if (x == w)
        return;
    uint32_t s[4] = {MASK_COLOR, MASK_COLOR, MASK_COLOR, MASK_COLOR}, d[4] = {};
    size_t bytes = (size_t)(w - x) * sizeof(uint32_t);
    std::memcpy(s, src + x, bytes);
    std::memcpy(d, under + x, bytes);
    op(s, d, d, b);
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
        layer_row<blend4>(s, d, d, w, b);
    }
}

void clear_layer(BITMAP *layer) {
    for (int y = 0; y < FRAME_H; y++)
        std::fill_n((uint32_t *)layer->line[y], FRAME_W, (uint32_t)MASK_COLOR);
}

void note_drawn(DrawnPlaces &places, int x, int y, int w, int h) {
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min(x + w, FRAME_W), bottom = std::min(y + h, FRAME_H);
    const DrawnPlaces::Place &first = places.at[0];
    if (right <= left || bottom <= top ||
        (places.count == 1 && first.w == FRAME_W && first.h == FRAME_H)) // all noted already
        return;
    if (places.count == (int)(sizeof places.at / sizeof places.at[0]))
        places.count = 0, left = 0, top = 0, right = FRAME_W, bottom = FRAME_H;
    places.at[places.count++] = {left, top, right - left, bottom - top};
}

void clear_drawn(BITMAP *layer, DrawnPlaces &places) {
    for (int i = 0; i < places.count; i++) {
        const DrawnPlaces::Place &p = places.at[i];
        for (int y = p.y; y < p.y + p.h; y++)
            std::fill_n((uint32_t *)layer->line[y] + p.x, p.w, (uint32_t)MASK_COLOR);
    }
    places.count = 0;
}

void masked_copy(BITMAP *under, BITMAP *over, BITMAP *dst) {
    for (int y = 0; y < FRAME_H; y++)
        layer_row<mask4>((const uint32_t *)over->line[y], (const uint32_t *)under->line[y],
                         (uint32_t *)dst->line[y], FRAME_W, BlendSetup{});
}

int pointer_drawn_x, pointer_drawn_y;

// How the 640x480 frame reaches the screen: each frame pixel a scale x scale block, then
// smoothed to width x height where that is larger; the frame's top-left corner at (left, top).
static View view = {1, 0, 0, FRAME_W, FRAME_H};

// The back buffer enlarged, for a scaled view; the screen gets its blocks in single copies.
static BITMAP *scaled_buffer;

// The enlarged frame smoothed to the view's size, where that is larger; for each of its columns
// and rows the first of the two enlarged ones it is drawn from and the second's weight (0..256).
static BITMAP *smooth_buffer;
static std::vector<int> smooth_from[2], smooth_weight[2];

// The sample of destination pixel i of n from m source pixels: its centre (i + 1/2) * m / n - 1/2
// between source pixels from and from + 1, weighted toward the second by weight / 256.
static void smooth_table(int n, int m, std::vector<int> &from, std::vector<int> &weight) {
    from.resize(n);
    weight.resize(n);
    for (int i = 0; i < n; i++) {
        long long num = (2LL * i + 1) * m - n, den = 2LL * n;
        long long f = num < 0 ? -1 : num / den;
        int w = (int)((num - f * den) * 256 / den);
        if (f < 0)
            f = 0, w = 0;
        if (f > m - 2)
            f = m - 2, w = 256;
        from[i] = (int)f;
        weight[i] = w;
    }
}

// The new enlarged copies are made before the old ones go, so a view that cannot be had leaves
// the view as it was, still able to show frames.
int set_view(View v) {
    BITMAP *enlarged = nullptr, *smoothed = nullptr;
    if (v.scale < 1 || v.scale > MAX_SCALE)
        return 1;
    int sw = FRAME_W * v.scale, sh = FRAME_H * v.scale;
    if (!v.width && !v.height)
        v.width = sw, v.height = sh;
    if (v.width < sw || v.height < sh)
        return 1;
    bool smooth = v.width > sw || v.height > sh;
    if (v.scale > 1 && !(enlarged = create_bitmap_ex(32, sw, sh)))
        return 1;
    if (smooth && !(smoothed = create_bitmap_ex(32, v.width, v.height))) {
        if (enlarged)
            destroy_bitmap(enlarged);
        return 1;
    }
    if (scaled_buffer)
        destroy_bitmap(scaled_buffer);
    if (smooth_buffer)
        destroy_bitmap(smooth_buffer);
    scaled_buffer = enlarged;
    smooth_buffer = smoothed;
    smooth_table(v.width, sw, smooth_from[0], smooth_weight[0]);
    smooth_table(v.height, sh, smooth_from[1], smooth_weight[1]);
    view = v;
    board_on_back_buffer = 0;
    whole_copy_asked = true; // whatever frame comes next, the new screen shows nothing yet
    return 0;
}

// Division rounding toward minus infinity, so a screen pixel left of or above the frame maps
// outside it rather than onto its first column or row.
static int floor_div(long long a, long long b) {
    return (int)(a >= 0 ? a / b : -((-a + b - 1) / b));
}

// The frame pixel under a screen pixel is the one its drawn place covers, at any size.
FramePoint pointer_in_frame(void) {
    return {floor_div((long long)(mouse_x - view.left) * FRAME_W, view.width),
            floor_div((long long)(mouse_y - view.top) * FRAME_H, view.height),
            mouse_on_screen() != 0};
}

// Whether the pointer is on the back buffer now, and where.
static FramePoint pointer_drawn = {0, 0, false};

// The pointer where the library reports it now, read once; none while the real pointer is
// outside the window, so no second, frozen arrow stays at the edge.
static void draw_pointer(FramePoint at) {
    pointer_drawn = at;
    pointer_drawn_x = pointer_drawn.x;
    pointer_drawn_y = pointer_drawn.y;
    if (pointer_drawn.inside)
        draw_sprite(back_buffer, cursor_image, pointer_drawn_x, pointer_drawn_y);
}

// Writes the w x h block at (x, y) of the back buffer onto the scaled buffer, each pixel an
// s x s block: each row is widened once and copied s times. (The library's stretch_blit
// starts half a step off, so its blocks are not all s pixels wide.)
static void enlarge(int x, int y, int w, int h, int s) {
    for (int row = y; row < y + h; row++) {
        const uint32_t *from = (const uint32_t *)back_buffer->line[row] + x;
        uint32_t *to = (uint32_t *)scaled_buffer->line[row * s] + x * s;
        for (int i = 0; i < w; i++)
            for (int k = 0; k < s; k++)
                to[i * s + k] = from[i];
        for (int k = 1; k < s; k++)
            std::memcpy(scaled_buffer->line[row * s + k] + x * s * 4, to, (size_t)w * s * 4);
    }
}

// The note over the frame: its box with the text, the back buffer under it while it is laid on,
// where it stands, and until when on pace_clock it is shown.
static struct {
    BITMAP *box, *under;
    int x, y;
    long long until;
    bool shown;
} note;

// Lays the note on the back buffer for a copy to the screen (on), or takes it off again: the
// back buffer holds the frame alone between copies.
static void lay_note(bool on) {
    BITMAP *b = note.box;
    if (on) {
        blit(back_buffer, note.under, note.x, note.y, 0, 0, b->w, b->h);
        draw_sprite(back_buffer, b, note.x, note.y);
    } else
        blit(note.under, back_buffer, 0, 0, note.x, note.y, b->w, b->h);
}

void show_note(const char *text) {
    if (!note.box)
        note.box = create_bitmap_ex(32, confirm_box->w, confirm_box->h);
    if (!note.under)
        note.under = create_bitmap_ex(32, confirm_box->w, confirm_box->h);
    if (!note.box || !note.under)
        return;
    BITMAP *b = note.box;
    blit(confirm_box, b, 0, 0, 0, 0, b->w, b->h);
    textprintf_centre_ex(b, font, b->w / 2, b->h / 2 - 4, makecol(255, 255, 255), -1, "%s", text);
    note.x = (PLAY_W - b->w) / 2;
    note.y = NOTE_Y;
    note.until = pace_clock() + NOTE_TIME;
    note.shown = true;
    whole_copy_asked = true;
}

// Once the note's time is up, the next frame is copied whole, without it.
static void note_expires(void) {
    if (note.shown && pace_clock() >= note.until) {
        note.shown = false;
        whole_copy_asked = true;
    }
}

// a + (b - a) * w / 256 for each channel of two 32-bit pixels, w from 0 to 256.
static inline uint32_t mix(uint32_t a, uint32_t b, int w) {
    uint32_t rb = ((a & 0xFF00FF) * (256 - w) + (b & 0xFF00FF) * w) >> 8;
    uint32_t g = ((a & 0xFF00) * (256 - w) + (b & 0xFF00) * w) >> 8;
    return (rb & 0xFF00FF) | (g & 0xFF00);
}

// Writes the columns x0..x1 - 1 of rows y0..y1 - 1 of the smoothed frame from the enlarged one.
static void smooth(BITMAP *from, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; y++) {
        int fy = smooth_from[1][y], wy = smooth_weight[1][y];
        const uint32_t *r0 = (const uint32_t *)from->line[fy],
                       *r1 = (const uint32_t *)from->line[fy + 1];
        uint32_t *to = (uint32_t *)smooth_buffer->line[y];
        for (int x = x0; x < x1; x++) {
            int fx = smooth_from[0][x], wx = smooth_weight[0][x];
            to[x] = mix(mix(r0[fx], r0[fx + 1], wx), mix(r1[fx], r1[fx + 1], wx), wy);
        }
    }
}

// The smoothed pixels from..to - 1 (of n) that enlarged pixels a..b - 1 (of m) go into, widened
// by a pixel on each side, within 0..n.
static void smoothed_span(int a, int b, int m, int n, int *from, int *to) {
    *from = std::max(0, floor_div((long long)(a - 1) * n, m) - 1);
    *to = std::min(n, (int)((long long)(b + 1) * n / m) + 2);
}

// Copies the w x h block at (x, y) of the back buffer, within the frame, to the screen, enlarged
// to the view.
static void enlarge_to_screen(int x, int y, int w, int h) {
    int s = view.scale;
    if (s > 1)
        enlarge(x, y, w, h, s);
    BITMAP *enlarged = s > 1 ? scaled_buffer : back_buffer;
    if (!smooth_buffer) {
        blit(enlarged, screen, x * s, y * s, view.left + x * s, view.top + y * s, w * s, h * s);
        return;
    }
    int x0, x1, y0, y1;
    smoothed_span(x * s, (x + w) * s, FRAME_W * s, view.width, &x0, &x1);
    smoothed_span(y * s, (y + h) * s, FRAME_H * s, view.height, &y0, &y1);
    smooth(enlarged, x0, y0, x1, y1);
    blit(smooth_buffer, screen, x0, y0, view.left + x0, view.top + y0, x1 - x0, y1 - y0);
}

// Copies the w x h block at (x, y) of the back buffer to the screen, with the note over it while
// there is one.
static void copy_to_screen(int x, int y, int w, int h) {
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        y = 0;
    }
    w = w < FRAME_W - x ? w : FRAME_W - x;
    h = h < FRAME_H - y ? h : FRAME_H - y;
    if (w <= 0 || h <= 0)
        return;
    // Smoothing reads up to two frame pixels beyond the block: a note that near is laid on too.
    int r = smooth_buffer ? 2 : 0;
    bool over = note.shown && x - r < note.x + note.box->w && note.x < x + w + r &&
                y - r < note.y + note.box->h && note.y < y + h + r;
    if (over)
        lay_note(true);
    enlarge_to_screen(x, y, w, h);
    if (over)
        lay_note(false);
}

// Every frame ends here, shown or not, with the work the shell asked for once per frame.
static void frame_done(void) {
    if (frame_shown_hook)
        frame_shown_hook();
}

static void show_whole_frame(void) {
    whole_copy_asked = false; // this copy is whole; an ask from now on is for the next
    draw_pointer(pointer_in_frame());
    copy_to_screen(0, 0, FRAME_W, FRAME_H);
    frame_done();
}

void frame_needs_whole_copy(void) {
    whole_copy_asked = true;
}

// Shows the w x h block at (x, y) (the whole frame where the window asked for it) and the
// pointer's old and new places.
static void show_frame_part(int x, int y, int w, int h, FramePoint at) {
    if (whole_copy_asked.exchange(false))
        x = 0, y = 0, w = FRAME_W, h = FRAME_H;
    FramePoint was = pointer_drawn;
    draw_pointer(at);
    copy_to_screen(x, y, w, h);
    if (was.inside)
        copy_to_screen(was.x, was.y, cursor_image->w, cursor_image->h);
    if (pointer_drawn.inside)
        copy_to_screen(pointer_drawn.x, pointer_drawn.y, cursor_image->w, cursor_image->h);
    frame_done();
}

// The banners compose frames of their own: afterwards the back buffer no longer holds the board.
void finish_frame(void) {
    note_expires();
    board_on_back_buffer = 0;
    show_whole_frame();
}

void finish_frame_part(int x, int y, int w, int h) {
    note_expires();
    board_on_back_buffer = 0;
    show_frame_part(x, y, w, h, pointer_in_frame());
}

void layers_changed(void) {
    board_on_back_buffer = 0;
}

// The board under the pointer's last place, put back from the layers.
static void erase_pointer(void) {
    int x = pointer_drawn.x, y = pointer_drawn.y, w = cursor_image->w, h = cursor_image->h;
    blit(scene_layer, back_buffer, x, y, x, y, w, h);
    masked_blit(text_layer, back_buffer, x, y, x, y, w, h);
}

// While the layers stay as they were, a frame differs from the one before only where the
// pointer was and is: only those places are redrawn and copied, and nothing at all while the
// pointer stays put. The screen shows the same as if every frame were copied whole.
void present_frame(void) {
    note_expires();
    if (!board_on_back_buffer) {
        masked_copy(scene_layer, text_layer, back_buffer);
        board_on_back_buffer = 1;
        show_whole_frame();
        return;
    }
    FramePoint now = pointer_in_frame();
    if (now.x == pointer_drawn.x && now.y == pointer_drawn.y &&
        now.inside == pointer_drawn.inside && !whole_copy_asked) {
        frame_done();
        return;
    }
    if (pointer_drawn.inside)
        erase_pointer();
    show_frame_part(0, 0, 0, 0, now);
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
