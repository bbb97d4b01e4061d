// Checks the committed pictures in data/: the shapes their places on the screen need, the
// pointer's hot spot, the used mark's see-through parts, and that the generator still makes
// exactly these files.
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

// A committed picture in the game's 32-bit format; the test fails if it cannot be read.
static BITMAP *picture(const char *name) {
    headless_init();
    std::string path = std::string(REBRIK_DATA_DIR) + "/" + name;
    BITMAP *b = load_image(path.c_str());
    EXPECT_NE(b, nullptr) << path;
    return b;
}

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

// The background is exactly 640x480 and holds no transparent pixel, since it is copied whole.
TEST(Art, BackgroundFillsTheFrame) {
    BITMAP *b = picture("pozadiep.tga");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, FRAME_W);
    EXPECT_EQ(b->h, FRAME_H);
    EXPECT_EQ(masked_in(b, 0, 0, b->w, b->h), 0);
    destroy_bitmap(b);
}

// The lifeline sheet is at most 140 wide with four equal rows; the intro picture fits the
// play area and the exit button fits on the screen from its corner at (40, 420).
TEST(Art, PicturesFitTheirPlaces) {
    BITMAP *sheet = picture("zolici.bmp"), *title = picture("mili.tga");
    BITMAP *exit = picture("exit.bmp");
    ASSERT_TRUE(sheet && title && exit);
    EXPECT_LE(sheet->w, 140);
    EXPECT_GE(sheet->h, 4);
    EXPECT_EQ(sheet->h % 4, 0);
    EXPECT_LE(title->w, PLAY_W);
    EXPECT_LE(title->h, FRAME_H);
    EXPECT_LE(exit->w, 600);
    EXPECT_LE(exit->h, 60);
    EXPECT_LE(EXIT_X + exit->w, FRAME_W);
    EXPECT_LE(EXIT_Y + exit->h, FRAME_H);
    for (BITMAP *b : {sheet, title, exit})
        destroy_bitmap(b);
}

// The pointer's hot spot, its top-left pixel, lies on the arrow; the arrow has a see-through
// surround.
TEST(Art, PointerTipIsTheHotSpot) {
    BITMAP *b = picture("kvmys.bmp");
    ASSERT_NE(b, nullptr);
    EXPECT_NE(getpixel(b, 0, 0), MASK_COLOR);
    EXPECT_GT(masked_in(b, 0, 0, b->w, b->h), 0);
    destroy_bitmap(b);
}

// The used mark row has see-through pixels, so the icon shows under it, and drawn ones; each
// of the three icon rows is drawn and keeps see-through corners.
TEST(Art, LifelineRowsAreDrawnAndTheMarkLetsTheIconShow) {
    BITMAP *b = picture("zolici.bmp");
    ASSERT_NE(b, nullptr);
    int q = b->h / 4, area = b->w * q;
    for (int row = 0; row < 4; row++) {
        int masked = masked_in(b, 0, row * q, b->w, q);
        EXPECT_GT(masked, 0) << "row " << row;
        EXPECT_LT(masked, area) << "row " << row;
    }
    // The mark must leave more of the icon visible than it covers.
    EXPECT_GT(masked_in(b, 0, 3 * q, b->w, q), area / 2);
    destroy_bitmap(b);
}

// The intro picture has a see-through surround and a drawn middle, where the name stands.
TEST(Art, TitleIsShapedByTheMask) {
    BITMAP *b = picture("mili.tga");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(getpixel(b, 0, 0), MASK_COLOR);
    EXPECT_NE(getpixel(b, b->w / 2, b->h / 2), MASK_COLOR);
    destroy_bitmap(b);
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
