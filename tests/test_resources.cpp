// Start-up art and frame composition: the generated lozenges, the ladder strip baked into the
// background, the used mark, the pictures the game refuses, and what a frame is made of.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <array>
#include <string>
#include <tuple>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"

// Loads test pictures of the given sizes; the folder is removed again at the end of the test.
struct Loaded {
    std::string dir;
    explicit Loaded(TestImageSizes sizes = TestImageSizes()) : dir(write_test_images(sizes)) {}
    ~Loaded() {
        remove_test_images(dir);
    }
};

// Each lozenge has its corners and left point cut to MASK_COLOR (the right point lies one past
// the last column), and ring n of a gradient has the ramp's colour n * full / D: near the left
// end of the middle row lies ring W/2 - 1, in the middle ring 1.
TEST(Resources, GeneratedLozenges) {
    Loaded pictures;
    ASSERT_EQ(headless_load(pictures.dir.c_str()), 0);
    struct Piece {
        BITMAP *b;
        int y, h, edge, centre; // edge: colour at (1, middle row), centre: at (w / 2, middle)
    };
    for (Piece p :
         {Piece{answer_sheet, 0, 20, rgb(0, 0, 252), rgb(0, 0, 2)},
          Piece{answer_sheet, 20, 20, rgb(252, 126, 0), rgb(2, 1, 0)},
          Piece{answer_sheet, 40, 20, rgb(0, 252, 0), rgb(0, 2, 0)},
          Piece{confirm_box, 0, 40, rgb(0, 0, 74 * 255 / 105), rgb(0, 0, 2)},
          Piece{question_box, 0, 50, rgb(0, 0, 204 * 255 / 221), rgb(0, 0, 1)},
          Piece{banner_box, 0, 50, rgb(124 * 255 / 141, 124 * 128 / 141, 0), rgb(1, 0, 0)},
          Piece{final_box, 0, 50, rgb(0, 124 * 255 / 141, 0), rgb(0, 1, 0)}}) {
        int w = p.b->w, m = p.y + p.h / 2, bottom = p.y + p.h - 1;
        for (int corner :
             {pixel_at(p.b, 0, p.y), pixel_at(p.b, w - 1, p.y), pixel_at(p.b, 0, bottom),
              pixel_at(p.b, w - 1, bottom), pixel_at(p.b, 0, m)})
            EXPECT_EQ(corner, MASK_COLOR) << w << "x" << p.h << " at row " << p.y;
        EXPECT_EQ(pixel_at(p.b, 1, m), p.edge) << w << "x" << p.h << " at row " << p.y;
        EXPECT_EQ(pixel_at(p.b, w / 2, m), p.centre) << w << "x" << p.h << " at row " << p.y;
    }
}

// The ladder strip (black at the top, blue 254 at the bottom) and the separator at x 499 are
// blended into the background at 0.75; the play area keeps the picture. The used mark is the
// block from row 3 * (h/4): for a sheet 90 high, rows 66 to 87.
TEST(Resources, LadderStripAndUsedMark) {
    TestImageSizes sizes;
    sizes.sheet_h = 90;
    Loaded pictures(sizes);
    ASSERT_EQ(headless_load(pictures.dir.c_str()), 0);
    BITMAP *picture = load_image((pictures.dir + "/pozadiep.tga").c_str());
    auto blended = [](int d, int s) { return (int)((double)d + (double)((float)(s - d) * 0.75f)); };
    for (auto [x, y, blue] : {std::array<int, 3>{550, 0, 0},
                              {639, 479, 254},
                              {500, 240, 127},
                              {499, 0, 192},
                              {499, 479, 192}}) {
        int p = getpixel(picture, x, y);
        EXPECT_EQ(getpixel(background_image, x, y),
                  rgb(blended(getr(p), 0), blended(getg(p), 0), blended(getb(p), blue)))
            << x << "," << y;
    }
    EXPECT_EQ(count_differences(picture, 0, 0, background_image, 0, 0, 499, 480), 0);
    destroy_bitmap(picture);
    ASSERT_EQ(used_mark->w * 100 + used_mark->h, 60 * 100 + 22);
    EXPECT_EQ(count_differences(used_mark, 0, 0, lifeline_sheet, 0, 66, 60, 22), 0);
}

// Pure magenta becomes MASK_COLOR whatever the file's format, depth or alpha byte.
TEST(Resources, MagentaIsMaskInEveryFormat) {
    Loaded pictures;
    for (auto [file, depth, alpha] : {std::tuple{"m.bmp", 24, 0},
                                      {"m.tga", 24, 0},
                                      {"a.tga", 32, 255},
                                      {"z.tga", 32, 0},
                                      {"a.bmp", 32, 255}}) {
        BITMAP *b = create_bitmap_ex(depth, 2, 1);
        putpixel(b, 0, 0, depth == 32 ? makeacol32(255, 0, 255, alpha) : makecol24(255, 0, 255));
        putpixel(b, 1, 0, depth == 32 ? makeacol32(0, 128, 128, alpha) : makecol24(0, 128, 128));
        std::string path = pictures.dir + "/" + file;
        ASSERT_EQ(save_bitmap(path.c_str(), b, NULL), 0);
        destroy_bitmap(b);
        BITMAP *loaded = load_image(path.c_str());
        ASSERT_NE(loaded, nullptr) << file;
        EXPECT_EQ(getpixel(loaded, 0, 0), MASK_COLOR) << file;
        EXPECT_EQ(getpixel(loaded, 1, 0), rgb(0, 128, 128)) << file;
        destroy_bitmap(loaded);
        std::remove(path.c_str());
    }
}

// A background that is not 640x480 and a lifeline sheet with no row to cut are refused like a
// missing picture; shapes that only spoil the look (a sheet 150 wide and 90 high, a picture
// wider than the play area) still load.
TEST(Resources, PictureShapes) {
    struct Case {
        int sheet_w, sheet_h, title_w, background_w, result;
    };
    for (Case c :
         {Case{60, 3, 200, 640, 1}, Case{60, 80, 200, 320, 1}, Case{150, 90, 520, 640, 0}}) {
        TestImageSizes sizes;
        sizes.sheet_w = c.sheet_w;
        sizes.sheet_h = c.sheet_h;
        sizes.title_w = c.title_w;
        Loaded pictures(sizes);
        if (c.background_w != 640) {
            BITMAP *small = create_bitmap_ex(32, c.background_w, 240);
            clear_to_color(small, rgb(10, 20, 30));
            ASSERT_EQ(save_bitmap((pictures.dir + "/pozadiep.tga").c_str(), small, NULL), 0);
            destroy_bitmap(small);
        }
        EXPECT_EQ(headless_load(pictures.dir.c_str()), c.result)
            << c.sheet_h << " " << c.background_w;
    }
}

// The pictures are read in order and loading stops at the first that fails: without
// zolici.bmp, mili.tga and exit.bmp are never opened (seen through inotify).
TEST(Resources, LoadingStopsAtTheFirstMissingPicture) {
    Loaded pictures;
    std::remove((pictures.dir + "/zolici.bmp").c_str());
    int fd = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(fd, pictures.dir.c_str(), IN_OPEN);
    EXPECT_EQ(headless_load(pictures.dir.c_str()), 1);
    std::vector<std::string> opened;
    alignas(inotify_event) char buf[8192];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
        for (char *p = buf; p < buf + n; p += sizeof(inotify_event) + ((inotify_event *)p)->len)
            if (((inotify_event *)p)->len)
                opened.push_back(((inotify_event *)p)->name);
    close(fd);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), "pozadiep.tga"), 1);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), "mili.tga"), 0);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), "exit.bmp"), 0);
}

// A frame is the scene, the text layer without its MASK_COLOR pixels (a text cell is a hole to
// the scene) and the pointer, cut at the frame's edge.
TEST(Resources, PresentFrameComposition) {
    Loaded pictures;
    ASSERT_EQ(headless_load(pictures.dir.c_str()), 0);
    script_reset();
    clear_to_color(scene_layer, rgb(10, 20, 30));
    clear_to_color(text_layer, MASK_COLOR);
    rectfill(text_layer, 100, 100, 140, 140, rgb(200, 0, 0));
    textprintf_ex(text_layer, font, 110, 110, rgb(255, 255, 255), MASK_COLOR, "%s", " ");
    mouse_x = 637;
    mouse_y = 478;
    present_frame();
    EXPECT_EQ(frames_shown(), 1);
    EXPECT_EQ(getpixel(screen, 100, 100), rgb(200, 0, 0));
    EXPECT_EQ(getpixel(screen, 113, 113), rgb(10, 20, 30));
    EXPECT_EQ(getpixel(screen, 639, 479), rgb(255, 255, 0)); // the test pointer is yellow
    EXPECT_EQ(getpixel(screen, 636, 479), rgb(10, 20, 30));
}

// A picture cut short after its header is refused like a missing one, in both formats: the
// library's readers alone would fill the missing part with garbage.
TEST(Resources, PictureCutShortIsRefused) {
    for (const char *name : {"zolici.bmp", "pozadiep.tga"}) {
        Loaded pictures;
        std::string path = pictures.dir + "/" + name;
        ASSERT_EQ(truncate(path.c_str(), 1000), 0);
        EXPECT_EQ(load_image(path.c_str()), nullptr) << name;
        EXPECT_EQ(headless_load(pictures.dir.c_str()), 1) << name;
    }
}
