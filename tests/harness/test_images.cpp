// Writes the five test pictures with the library's own savers, in the formats the game reads.
#include "harness/test_images.h"
#include <cstdlib>
#include <filesystem>

const char *const NAMES[] = {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga", "exit.bmp"};

static BITMAP *solid(int w, int h, int colour) {
    BITMAP *b = create_bitmap_ex(32, w, h);
    clear_to_color(b, colour);
    return b;
}

// Varies pixel by pixel, so a shifted copy shows; green never drops to 0, so nothing is magenta.
static BITMAP *background(void) {
    BITMAP *b = solid(640, 480, 0);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            putpixel(b, x, y, makecol(x * 255 / 639, 20 + y * 200 / 479, (x + 3 * y) % 256));
    return b;
}

// Three icon rows, then the used mark: white on its left half, transparent on its right half.
static BITMAP *lifeline_sheet_picture(int w, int h) {
    BITMAP *b = solid(w, h, MASK_COLOR);
    const int colours[4] = {makecol(200, 0, 0), makecol(0, 200, 0), makecol(0, 0, 200),
                            makecol(255, 255, 255)};
    for (int row = 0, q = h / 4; row < 4; row++)
        rectfill(b, 0, row * q, row == 3 ? w / 2 - 1 : w - 1, (row + 1) * q - 1, colours[row]);
    return b;
}

std::string write_test_images(const TestImageSizes &s) {
    headless_init();
    std::string dir = (std::filesystem::temp_directory_path() / "rebrik-images-XXXXXX").string();
    int failed = !mkdtemp(&dir[0]);
    BITMAP *pictures[5] = {solid(6, 6, makecol(255, 255, 0)), background(),
                           lifeline_sheet_picture(s.sheet_w, s.sheet_h),
                           solid(s.title_w, s.title_h, makecol(90, 30, 120)),
                           solid(s.exit_w, s.exit_h, makecol(220, 120, 40))};
    for (int i = 0; i < 5; i++) {
        failed |= save_bitmap((dir + "/" + NAMES[i]).c_str(), pictures[i], NULL);
        destroy_bitmap(pictures[i]);
    }
    if (failed)
        remove_test_images(dir);
    return failed ? "" : dir;
}

void remove_test_images(const std::string &dir) {
    std::error_code ignored;
    if (!dir.empty())
        std::filesystem::remove_all(dir, ignored);
}

int load_test_images(const TestImageSizes &sizes) {
    std::string dir = write_test_images(sizes);
    int result = dir.empty() ? 1 : headless_load(dir.c_str());
    remove_test_images(dir);
    return result;
}

int count_colour(BITMAP *b, int colour, int x, int y, int w, int h) {
    int n = 0;
    for (int i = 0; i < w * h; i++)
        n += getpixel(b, x + i % w, y + i / w) == colour;
    return n;
}

int count_differences(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h) {
    int n = 0;
    for (int i = 0; i < w * h; i++)
        n += getpixel(a, ax + i % w, ay + i / w) != getpixel(b, bx + i % w, by + i / w);
    return n;
}
