// Start-up art and frame composition: the generated lozenges, the ladder strip baked into the
// background, the used mark, the pictures the game refuses, and what a frame is made of.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"

static int channel_blend(int d, int s) {
    return (int)((double)d + (double)((float)(s - d) * 0.75f));
}

class Resources : public ::testing::Test {
  protected:
    std::string dir;
    void load(const TestImageSizes &sizes = TestImageSizes()) {
        dir = write_test_images(sizes);
        ASSERT_FALSE(dir.empty());
        ASSERT_EQ(headless_load(dir.c_str()), 0);
    }
    void TearDown() override {
        if (!dir.empty())
            remove_test_images(dir);
    }
};

// Every generated piece has its four corners and its left point cut away to MASK_COLOR (the
// right point lies one past the last column).
TEST_F(Resources, LozengeEndsAreCut) {
    load();
    struct Piece {
        BITMAP *b;
        int y, h;
    };
    for (Piece p :
         {Piece{answer_sheet, 0, 20}, Piece{answer_sheet, 20, 20}, Piece{answer_sheet, 40, 20},
          Piece{confirm_box, 0, 40}, Piece{question_box, 0, 50}, Piece{banner_box, 0, 50},
          Piece{final_box, 0, 50}}) {
        int w = p.b->w, m = p.y + p.h / 2;
        for (int x : {0, w - 1})
            for (int y : {p.y, p.y + p.h - 1, x == 0 ? m : p.y})
                EXPECT_EQ(getpixel(p.b, x, y), MASK_COLOR)
                    << w << "x" << p.h << " at " << x << "," << y;
        EXPECT_NE(getpixel(p.b, w / 2, m), MASK_COLOR);
    }
}

// Ring n of a gradient has the ramp's colour n * full / D: near the left end of the middle row
// lies ring W/2 - 1, in the middle ring 1.
TEST_F(Resources, GradientRingColours) {
    load();
    EXPECT_EQ(getpixel(banner_box, 1, 25), rgb(124 * 255 / 141, 124 * 128 / 141, 0));
    EXPECT_EQ(getpixel(banner_box, 125, 25), rgb(1, 0, 0));
    EXPECT_EQ(getpixel(final_box, 1, 25), rgb(0, 124 * 255 / 141, 0));
    EXPECT_EQ(getpixel(question_box, 1, 25), rgb(0, 0, 204 * 255 / 221));
    EXPECT_EQ(getpixel(answer_sheet, 1, 10), rgb(0, 0, 252));
    EXPECT_EQ(getpixel(answer_sheet, 1, 30), rgb(252, 126, 0));
    EXPECT_EQ(getpixel(answer_sheet, 1, 50), rgb(0, 252, 0));
    EXPECT_EQ(getpixel(answer_sheet, 100, 10), rgb(0, 0, 2));
    // The confirmation box's outer rings are clipped: its brightest pixel is below full blue.
    EXPECT_EQ(getpixel(confirm_box, 1, 20), rgb(0, 0, 74 * 255 / 105));
}

// The ladder strip runs from black at the top to blue 254 at the bottom, with the separator
// at x 499, blended in at 0.75; the play area keeps the picture.
TEST_F(Resources, LadderStripBakedIntoBackground) {
    load();
    BITMAP *picture = load_image((dir + "/pozadiep.tga").c_str());
    ASSERT_NE(picture, nullptr);
    struct Case {
        int x, y, blue;
    };
    for (Case c : {Case{550, 0, 0}, Case{639, 479, 254}, Case{500, 240, 127}, Case{499, 0, 192},
                   Case{499, 479, 192}}) {
        int p = getpixel(picture, c.x, c.y);
        EXPECT_EQ(getpixel(background_image, c.x, c.y),
                  rgb(channel_blend(getr(p), 0), channel_blend(getg(p), 0),
                      channel_blend(getb(p), c.blue)))
            << c.x << "," << c.y;
    }
    EXPECT_EQ(count_differences(picture, 0, 0, background_image, 0, 0, 499, 480), 0);
    destroy_bitmap(picture);
}

// The used mark is the w x h/4 block from row 3 * (h/4): for a sheet 90 high, rows 66 to 87.
TEST_F(Resources, UsedMarkFromTheFourthRow) {
    TestImageSizes sizes;
    sizes.sheet_h = 90;
    load(sizes);
    ASSERT_EQ(used_mark->w, 60);
    ASSERT_EQ(used_mark->h, 22);
    EXPECT_EQ(count_differences(used_mark, 0, 0, lifeline_sheet, 0, 66, 60, 22), 0);
}

// Pure magenta becomes MASK_COLOR whatever the file's depth or alpha byte.
TEST_F(Resources, MagentaIsMaskInEveryFormat) {
    headless_init();
    std::string folder = write_test_images();
    struct Case {
        const char *file;
        int depth, alpha;
    };
    for (Case c : {Case{"m24.bmp", 24, 0}, Case{"m24.tga", 24, 0}, Case{"m32.tga", 32, 255},
                   Case{"m32z.tga", 32, 0}, Case{"m32.bmp", 32, 255}}) {
        BITMAP *b = create_bitmap_ex(c.depth, 2, 1);
        int magenta =
            c.depth == 32 ? makeacol32(255, 0, 255, c.alpha) : makecol_depth(24, 255, 0, 255);
        int teal =
            c.depth == 32 ? makeacol32(0, 128, 128, c.alpha) : makecol_depth(24, 0, 128, 128);
        putpixel(b, 0, 0, magenta);
        putpixel(b, 1, 0, teal);
        std::string path = folder + "/" + c.file;
        ASSERT_EQ(save_bitmap(path.c_str(), b, NULL), 0);
        destroy_bitmap(b);
        BITMAP *loaded = load_image(path.c_str());
        ASSERT_NE(loaded, nullptr) << c.file;
        EXPECT_EQ(bitmap_color_depth(loaded), 32) << c.file;
        EXPECT_EQ(getpixel(loaded, 0, 0), MASK_COLOR) << c.file;
        EXPECT_EQ(getpixel(loaded, 1, 0), rgb(0, 128, 128)) << c.file;
        destroy_bitmap(loaded);
        std::remove(path.c_str());
    }
    remove_test_images(folder);
}

// Pictures the game cannot use safely are refused like missing ones: a background that is not
// 640x480 and a lifeline sheet with no row to cut.
TEST_F(Resources, RefusedShapes) {
    TestImageSizes flat;
    flat.sheet_h = 3;
    dir = write_test_images(flat);
    EXPECT_EQ(headless_load(dir.c_str()), 1);
    remove_test_images(dir);
    dir = write_test_images();
    BITMAP *small = create_bitmap_ex(32, 320, 240);
    clear_to_color(small, rgb(10, 20, 30));
    ASSERT_EQ(save_bitmap((dir + "/pozadiep.tga").c_str(), small, NULL), 0);
    destroy_bitmap(small);
    EXPECT_EQ(headless_load(dir.c_str()), 1);
}

// Shapes that only spoil the look still load: a sheet 150 wide and 90 high, a wide picture.
TEST_F(Resources, OddButSafeShapesLoad) {
    TestImageSizes odd;
    odd.sheet_w = 150;
    odd.sheet_h = 90;
    odd.title_w = 520;
    load(odd);
    EXPECT_EQ(lifeline_sheet->w, 150);
}

// Names of the files opened in dir while f runs, seen through inotify.
template <typename F> static std::vector<std::string> files_opened(const std::string &dir, F f) {
    int fd = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(fd, dir.c_str(), IN_OPEN);
    f();
    std::vector<std::string> names;
    alignas(inotify_event) char buf[8192];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        for (char *p = buf; p < buf + n;) {
            inotify_event *e = (inotify_event *)p;
            if (e->len)
                names.push_back(e->name);
            p += sizeof(inotify_event) + e->len;
        }
    close(fd);
    return names;
}

// The pictures are read in order and loading stops at the first that fails: without
// zolici.bmp, mili.tga and exit.bmp are never opened.
TEST_F(Resources, LoadingStopsAtTheFirstMissingPicture) {
    dir = write_test_images();
    std::remove((dir + "/zolici.bmp").c_str());
    int result = 0;
    std::vector<std::string> opened =
        files_opened(dir, [&] { result = headless_load(dir.c_str()); });
    EXPECT_EQ(result, 1);
    for (const std::string &name : opened) {
        EXPECT_NE(name, "mili.tga");
        EXPECT_NE(name, "exit.bmp");
    }
    EXPECT_NE(std::find(opened.begin(), opened.end(), "pozadiep.tga"), opened.end());
}

// A frame is the scene, the text layer without its MASK_COLOR pixels (holes show the scene)
// and the pointer, clipped at the frame's edges.
TEST_F(Resources, PresentFrameComposition) {
    load();
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
    EXPECT_EQ(getpixel(screen, 113, 113), rgb(10, 20, 30)); // a text cell is a hole
    EXPECT_EQ(getpixel(screen, 99, 99), rgb(10, 20, 30));
    EXPECT_EQ(getpixel(screen, 639, 479), rgb(255, 255, 0)); // the pointer, cut at the edge
    EXPECT_EQ(getpixel(screen, 636, 479), rgb(10, 20, 30));
}
