// Start-up art: creates the layers, loads the five pictures and generates the button and box
// lozenges from radial gradients, then bakes the ladder strip into the background.
#include "gfx/gfx.h"

BITMAP *cursor_image;
BITMAP *background_image;
BITMAP *lifeline_sheet;
BITMAP *title_image;
BITMAP *exit_button;
BITMAP *used_mark;
BITMAP *answer_sheet;
BITMAP *confirm_box;
BITMAP *question_box;
BITMAP *banner_box;
BITMAP *final_box;

// The gradient of the piece being cut; exists only while load_resources makes a piece.
static BITMAP *gradient_scratch;

// Colour ramps of the gradients: full-intensity channel values of the outermost ring.
struct Ramp {
    int r, g, b;
};
static const Ramp BLUE = {0, 0, 255}, ORANGE = {255, 128, 0}, GREEN = {0, 255, 0};

// One generated piece: the gradient it is cut from and where it goes.
struct Piece {
    BITMAP **target;
    int scratch_w, scratch_h, extra_radius;
    Ramp ramp;
    int at_y, w, h;
};
static const Piece PIECES[7] = {
    {&answer_sheet, 200, 50, 0, BLUE, 0, 200, 20},
    {&answer_sheet, 200, 50, 0, ORANGE, 20, 200, 20},
    {&answer_sheet, 200, 50, 0, GREEN, 40, 200, 20},
    {&confirm_box, 150, 40, 30, BLUE, 0, 150, 40},
    {&question_box, 410, 100, 16, BLUE, 0, 410, 50},
    {&banner_box, 250, 75, 16, ORANGE, 0, 250, 50},
    {&final_box, 250, 75, 16, GREEN, 0, 250, 50},
};

// The pieces' targets, made and cleared to MASK_COLOR before any cut.
struct Target {
    BITMAP **bitmap;
    int w, h;
};
static const Target TARGETS[5] = {
    {&answer_sheet, 200, 60}, {&confirm_box, 150, 40}, {&question_box, 410, 50},
    {&banner_box, 250, 50},   {&final_box, 250, 50},
};

// The pictures, in the order they are read.
struct Picture {
    BITMAP **bitmap;
    const char *file;
};
static const Picture PICTURES[5] = {
    {&cursor_image, "kvmys.bmp"},    {&background_image, "pozadiep.tga"},
    {&lifeline_sheet, "zolici.bmp"}, {&title_image, "mili.tga"},
    {&exit_button, "exit.bmp"},
};

// A bitmap in the 32-bit format cleared to one colour; null if it cannot be had.
static BITMAP *create_cleared(int w, int h, int colour) {
    BITMAP *b = create_bitmap_ex(32, w, h);
    if (b)
        clear_to_color(b, colour);
    return b;
}

// Rewrites every pixel through makecol, so that pure magenta is exactly MASK_COLOR whatever
// alpha byte the file carried.
static void drop_alpha(BITMAP *b) {
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) {
            int p = getpixel(b, x, y);
            putpixel(b, x, y, makecol32(getr32(p), getg32(p), getb32(p)));
        }
}

// A picture file read through a watch that notices a read past its end: the library's readers
// take a file cut short for a whole one and fill the missing part with garbage.
struct WatchedFile {
    PACKFILE *file;
    bool cut_short;
};

static int watched_fclose(void *w) {
    return pack_fclose(((WatchedFile *)w)->file);
}

static int watched_getc(void *w) {
    WatchedFile *f = (WatchedFile *)w;
    int c = pack_getc(f->file);
    f->cut_short |= c == EOF;
    return c;
}

static int watched_ungetc(int c, void *w) {
    return pack_ungetc(c, ((WatchedFile *)w)->file);
}

static long watched_fread(void *p, long n, void *w) {
    WatchedFile *f = (WatchedFile *)w;
    long got = pack_fread(p, n, f->file);
    f->cut_short |= got < n;
    return got;
}

static int no_putc(int, void *) {
    return EOF;
}

static long no_fwrite(const void *, long, void *) {
    return 0;
}

static int watched_fseek(void *w, int offset) {
    WatchedFile *f = (WatchedFile *)w;
    int failed = pack_fseek(f->file, offset);
    f->cut_short |= failed != 0;
    return failed;
}

static int watched_feof(void *w) {
    return pack_feof(((WatchedFile *)w)->file);
}

static int watched_ferror(void *w) {
    return pack_ferror(((WatchedFile *)w)->file);
}

static const PACKFILE_VTABLE WATCHED = {watched_fclose, watched_getc, watched_ungetc,
                                        watched_fread,  no_putc,      no_fwrite,
                                        watched_fseek,  watched_feof, watched_ferror};

// Reads a BMP or TGA file, chosen by its extension as the library does; null when it cannot
// be read whole.
static BITMAP *load_whole_picture(const char *name) {
    WatchedFile w = {pack_fopen(name, F_READ), false};
    if (!w.file)
        return NULL;
    PACKFILE *f = pack_fopen_vtable(&WATCHED, &w);
    if (!f) {
        pack_fclose(w.file);
        return NULL;
    }
    const char *ext = get_extension(name);
    BITMAP *b = ustricmp(ext, "tga") == 0   ? load_tga_pf(f, NULL)
                : ustricmp(ext, "bmp") == 0 ? load_bmp_pf(f, NULL)
                                            : NULL;
    pack_fclose(f);
    if (b && w.cut_short) {
        destroy_bitmap(b);
        return NULL;
    }
    return b;
}

BITMAP *load_image(const char *name) {
    BITMAP *loaded = load_whole_picture(name);
    if (!loaded || bitmap_color_depth(loaded) == 32) {
        if (loaded)
            drop_alpha(loaded);
        return loaded;
    }
    BITMAP *image = create_bitmap_ex(32, loaded->w, loaded->h);
    if (image)
        blit(loaded, image, 0, 0, 0, 0, loaded->w, loaded->h);
    destroy_bitmap(loaded);
    return image;
}

// Reads the five pictures in order; stops at the first that fails. Refuses a background that
// is not 640x480 and a lifeline sheet with no row to cut, since both are read whole.
static int load_pictures(void) {
    for (const Picture &p : PICTURES) {
        *p.bitmap = load_image(p.file);
        if (!*p.bitmap)
            return 1;
    }
    if (background_image->w != FRAME_W || background_image->h != FRAME_H)
        return 1;
    return lifeline_sheet->h < 4;
}

// Fills the scratch with rings from the outermost (full colour) to the centre (near black).
static void draw_gradient(int extra_radius, Ramp ramp) {
    int w = gradient_scratch->w, h = gradient_scratch->h, d = w / 2 + extra_radius;
    for (int n = d; n >= 1; n--)
        ellipsefill(gradient_scratch, w / 2, h / 2, n, n * h / w,
                    makecol(n * ramp.r / d, n * ramp.g / d, n * ramp.b / d));
}

void cut_lozenge(BITMAP *target, int x, int y, int w, int h) {
    BITMAP *piece = create_bitmap_ex(32, w, h);
    if (!piece)
        return;
    int sw = gradient_scratch->w, sh = gradient_scratch->h, m = h / 2;
    blit(gradient_scratch, piece, (sw - w) / 2, (sh - h) / 2, 0, 0, w, h);
    triangle(piece, 0, m, 0, 0, 10, 0, MASK_COLOR);
    triangle(piece, w - 10, 0, w, 0, w, m, MASK_COLOR);
    triangle(piece, w, m, w, h, w - 10, h, MASK_COLOR);
    triangle(piece, 0, m, 10, h, 0, h, MASK_COLOR);
    draw_sprite(target, piece, x, y);
    destroy_bitmap(piece);
}

// Makes the seven lozenges; 1 if a bitmap cannot be created.
static int generate_pieces(void) {
    for (const Target &t : TARGETS) {
        *t.bitmap = create_cleared(t.w, t.h, MASK_COLOR);
        if (!*t.bitmap)
            return 1;
    }
    for (const Piece &p : PIECES) {
        gradient_scratch = create_cleared(p.scratch_w, p.scratch_h, MASK_COLOR);
        if (!gradient_scratch)
            return 1;
        draw_gradient(p.extra_radius, p.ramp);
        cut_lozenge(*p.target, 0, p.at_y, p.w, p.h);
        destroy_bitmap(gradient_scratch);
        gradient_scratch = NULL;
    }
    return 0;
}

// Draws the ladder's gradient strip and separator on the panel layer and blends them into the
// background once, so no frame pays for them again; then leaves the panel layer clear, as
// draw_panel_layer expects it.
static void bake_ladder_strip(void) {
    for (int i = 0; i < FRAME_H; i++)
        line(panel_layer, PLAY_W, i, FRAME_W, i, makecol(0, 0, i * 255 / FRAME_H));
    line(panel_layer, PLAY_W - 1, 0, PLAY_W - 1, FRAME_H, makecol(0, 0, 192));
    blend_translucent(panel_layer, background_image, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
    clear_layer(panel_layer);
}

int load_resources(void) {
    font = game_font();
    forget_panel_patches();
    back_buffer = create_bitmap_ex(32, FRAME_W, FRAME_H);
    scene_layer = create_bitmap_ex(32, FRAME_W, FRAME_H);
    text_layer = create_cleared(FRAME_W, FRAME_H, MASK_COLOR);
    panel_layer = create_cleared(FRAME_W, FRAME_H, MASK_COLOR);
    if (!back_buffer || !scene_layer || !text_layer || !panel_layer || load_pictures())
        return 1;
    int w = lifeline_sheet->w, q = lifeline_sheet->h / 4;
    used_mark = create_bitmap_ex(32, w, q);
    if (!used_mark)
        return 1;
    blit(lifeline_sheet, used_mark, 0, 3 * q, 0, 0, w, q);
    if (generate_pieces())
        return 1;
    bake_ladder_strip();
    return 0;
}
