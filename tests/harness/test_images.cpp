// Writes the five test pictures with the library's own savers, in the formats the game reads.
#include "harness/test_images.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include "harness/harness.h"

static const char *const NAMES[5] = {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga",
                                     "exit.bmp"};

// Saves a bitmap under dir and releases it; 1 on failure.
static int save_and_free(BITMAP *b, const std::string &dir, const char *name) {
    if (!b)
        return 1;
    int failed = save_bitmap((dir + "/" + name).c_str(), b, NULL) != 0;
    destroy_bitmap(b);
    return failed;
}

static BITMAP *solid(int w, int h, int colour) {
    BITMAP *b = create_bitmap_ex(32, w, h);
    if (b)
        clear_to_color(b, colour);
    return b;
}

// Every pixel differs from its neighbours in some channel, so a shifted copy shows; green
// never drops to 0, so no pixel is magenta.
static BITMAP *background(void) {
    BITMAP *b = create_bitmap_ex(32, 640, 480);
    if (b)
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                putpixel(b, x, y, makecol(x * 255 / 639, 20 + y * 200 / 479, (x + 3 * y) % 256));
    return b;
}

static BITMAP *lifeline_sheet_picture(int w, int h) {
    BITMAP *b = solid(w, h, makecol(255, 0, 255));
    if (!b)
        return b;
    int q = h / 4;
    rectfill(b, 0, 0, w - 1, q - 1, makecol(200, 0, 0));
    rectfill(b, 0, q, w - 1, 2 * q - 1, makecol(0, 200, 0));
    rectfill(b, 0, 2 * q, w - 1, 3 * q - 1, makecol(0, 0, 200));
    rectfill(b, 0, 3 * q, w / 2 - 1, 4 * q - 1, makecol(255, 255, 255));
    return b;
}

// The pointer: a small yellow square.
static BITMAP *pointer(void) {
    return solid(6, 6, makecol(255, 255, 0));
}

std::string write_test_images(const TestImageSizes &s) {
    headless_init();
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/rebrik-images-XXXXXX";
    if (!mkdtemp(&pattern[0]))
        return "";
    BITMAP *pictures[5] = {pointer(), background(), lifeline_sheet_picture(s.sheet_w, s.sheet_h),
                           solid(s.title_w, s.title_h, makecol(90, 30, 120)),
                           solid(s.exit_w, s.exit_h, makecol(220, 120, 40))};
    int failed = 0;
    for (int i = 0; i < 5; i++)
        failed |= save_and_free(pictures[i], pattern, NAMES[i]);
    if (failed) {
        remove_test_images(pattern);
        return "";
    }
    return pattern;
}

void remove_test_images(const std::string &dir) {
    if (dir.empty())
        return;
    for (const char *name : NAMES)
        std::remove((dir + "/" + name).c_str());
    rmdir(dir.c_str());
}

int count_colour(BITMAP *b, int colour, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            n += getpixel(b, i, j) == colour;
    return n;
}

int count_differences(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h) {
    int n = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            n += getpixel(a, ax + x, ay + y) != getpixel(b, bx + x, by + y);
    return n;
}

std::string PicturesLoaded::picture_dir;
int PicturesLoaded::load_result = 1;

void PicturesLoaded::load_pictures(const TestImageSizes &sizes) {
    picture_dir = write_test_images(sizes);
    load_result = picture_dir.empty() ? 1 : headless_load(picture_dir.c_str());
}

void PicturesLoaded::TearDownTestSuite() {
    remove_test_images(picture_dir);
}
