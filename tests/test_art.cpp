// The committed pictures in data/: the shapes their places on the screen need, and that the
// generator still makes exactly these files.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include "gfx/gfx.h"
#include "harness/harness.h"

static const char *const FILES[5] = {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga",
                                     "exit.bmp"};

// How many pixels of the w x h block at (x, y) are MASK_COLOR.
static int masked_in(BITMAP *b, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            n += getpixel(b, i, j) == MASK_COLOR;
    return n;
}

static std::string file_bytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The background fills the frame with no see-through pixel; the pointer's hot spot (its
// top-left pixel) is on the arrow; the sheet is at most 140 wide with four equal rows, each
// partly drawn, the used mark leaving most of the icon visible; the intro picture fits the
// play area with a see-through surround; the exit button fits from (40, 420).
TEST(Art, CommittedPicturesFitTheGame) {
    headless_init();
    BITMAP *b[5];
    for (int i = 0; i < 5; i++)
        ASSERT_NE(b[i] = load_image((std::string(REBRIK_DATA_DIR) + "/" + FILES[i]).c_str()),
                  nullptr);
    BITMAP *cursor = b[0], *background = b[1], *sheet = b[2], *title = b[3], *exit = b[4];
    EXPECT_TRUE(background->w == FRAME_W && background->h == FRAME_H);
    EXPECT_EQ(masked_in(background, 0, 0, FRAME_W, FRAME_H), 0);
    EXPECT_NE(getpixel(cursor, 0, 0), MASK_COLOR);
    EXPECT_GT(masked_in(cursor, 0, 0, cursor->w, cursor->h), 0);
    EXPECT_TRUE(sheet->w <= 140 && sheet->h >= 4 && sheet->h % 4 == 0);
    int q = sheet->h / 4, area = sheet->w * q;
    for (int row = 0; row < 4; row++) {
        int masked = masked_in(sheet, 0, row * q, sheet->w, q);
        EXPECT_TRUE(masked > (row == 3 ? area / 2 : 0) && masked < area) << "row " << row;
    }
    EXPECT_TRUE(title->w <= PLAY_W && title->h <= FRAME_H);
    EXPECT_EQ(getpixel(title, 0, 0), MASK_COLOR);
    EXPECT_NE(getpixel(title, title->w / 2, title->h / 2), MASK_COLOR);
    EXPECT_TRUE(EXIT_X + exit->w <= FRAME_W && EXIT_Y + exit->h <= FRAME_H && exit->h <= 60);
    for (BITMAP *p : b)
        destroy_bitmap(p);
}

// Running the generator again writes the committed files byte for byte, so the committed art
// is never stale and the generator is deterministic.
TEST(Art, GeneratorReproducesTheCommittedFiles) {
    char dir[] = "/tmp/rebrik-art-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string command = std::string(REBRIK_BUILD_DIR) + "/rebrik-artgen " + dir;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char *name : FILES) {
        std::string made = std::string(dir) + "/" + name;
        std::string committed = file_bytes(std::string(REBRIK_DATA_DIR) + "/" + name);
        EXPECT_FALSE(committed.empty()) << name;
        EXPECT_TRUE(file_bytes(made) == committed) << name << " differs from the generator's";
        std::remove(made.c_str());
    }
    rmdir(dir);
}
