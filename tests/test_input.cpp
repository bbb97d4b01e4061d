// Pointer input: the click areas with both ends included, and the click wait's handling of
// held buttons, the right button and Escape.
#include <gtest/gtest.h>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"

// Loads pictures of the given sizes for one test and draws a board to present.
class PointerInput : public ::testing::Test {
  protected:
    std::string dir;
    void load(const TestImageSizes &sizes) {
        dir = write_test_images(sizes);
        ASSERT_FALSE(dir.empty());
        ASSERT_EQ(headless_load(dir.c_str()), 0);
        level = 1;
        draw_panel_layer(0);
        draw_text_layer(0);
        script_reset();
    }
    void SetUp() override {
        load(TestImageSizes());
    }
    void TearDown() override {
        remove_test_images(dir);
    }
};

// Both ends of a rectangle are inside, one past them is not, and negative values compare signed.
TEST(PointInRect, BothEndsIncluded) {
    EXPECT_EQ(point_in_rect(10, 20, 10, 20, 5, 5), 1);
    EXPECT_EQ(point_in_rect(15, 25, 10, 20, 5, 5), 1);
    EXPECT_EQ(point_in_rect(16, 25, 10, 20, 5, 5), 0);
    EXPECT_EQ(point_in_rect(15, 26, 10, 20, 5, 5), 0);
    EXPECT_EQ(point_in_rect(9, 20, 10, 20, 5, 5), 0);
    EXPECT_EQ(point_in_rect(-3, -3, -5, -5, 2, 2), 1);
    EXPECT_EQ(point_in_rect(-2, -3, -5, -5, 2, 2), 0);
    EXPECT_EQ(point_in_rect(3, 3, -5, -5, 2, 2), 0);
}

// The corners of every area and the points one past them, with a 60x80 lifeline sheet (icons
// 60x20 at x 80, 220, 360) and a 60x30 exit button.
TEST_F(PointerInput, AreaBoundaries) {
    struct Probe {
        int x, y, area;
    };
    const Probe probes[] = {
        {240, 345, 0},  {241, 345, -1}, {240, 346, -1}, {40, 325, 0},   {39, 325, -1},
        {245, 335, -1}, {250, 325, 1},  {450, 345, 1},  {451, 345, -1}, {40, 365, 2},
        {240, 385, 2},  {240, 386, -1}, {250, 365, 3},  {450, 385, 3},  {193, 175, 4},
        {192, 175, -1}, {227, 190, 4},  {228, 190, -1}, {193, 174, -1}, {273, 175, 5},
        {307, 190, 5},  {308, 190, -1}, {250, 162, -1}, {80, 30, 6},    {140, 50, 6},
        {141, 50, -1},  {140, 51, -1},  {79, 30, -1},   {220, 30, 7},   {280, 50, 7},
        {360, 30, 8},   {420, 50, 8},   {421, 40, -1},  {40, 420, 9},   {100, 450, 9},
        {101, 450, -1}, {100, 451, -1}, {470, 10, -1},
    };
    for (const Probe &p : probes)
        EXPECT_EQ(hit_test(p.x, p.y), p.area) << p.x << "," << p.y;
}

// A sheet 140 or more wide makes neighbouring lifeline areas overlap; the lower area wins.
TEST_F(PointerInput, OverlappingLifelineAreas) {
    TestImageSizes wide;
    wide.sheet_w = 140;
    remove_test_images(dir);
    load(wide);
    EXPECT_EQ(hit_test(180, 35), 6); // x 40..180 and 180..320 share column 180
    EXPECT_EQ(hit_test(181, 35), 7);
    EXPECT_EQ(hit_test(320, 35), 7);
    EXPECT_EQ(hit_test(321, 35), 8);

    TestImageSizes wider;
    wider.sheet_w = 160;
    remove_test_images(dir);
    load(wider);
    EXPECT_EQ(hit_test(185, 35), 6); // areas x 30..190, 170..330, 310..470
    EXPECT_EQ(hit_test(191, 35), 7);
    EXPECT_EQ(hit_test(325, 35), 7);
    EXPECT_EQ(hit_test(331, 35), 8);
    EXPECT_EQ(hit_test(470, 50), 8);
}

// The exit area follows the picture the button has at the moment of the test.
TEST_F(PointerInput, AreasFollowTheCurrentPictures) {
    EXPECT_EQ(hit_test(150, 460), -1);
    BITMAP *loaded_exit = exit_button;
    exit_button = create_bitmap_ex(32, 120, 50);
    EXPECT_EQ(hit_test(150, 460), 9);
    destroy_bitmap(exit_button);
    exit_button = loaded_exit;
    EXPECT_EQ(hit_test(150, 460), -1);
}

// A press with the button up on entry ends the wait with the area under the pointer, and no
// frame is shown after the press: one on entry, one per pass.
TEST_F(PointerInput, PressGivesItsArea) {
    script_click_area(1);
    EXPECT_EQ(wait_click(), 1);
    EXPECT_EQ(frames_shown(), 2);

    script_reset();
    script_idle(10);
    script_click(470, 100);
    EXPECT_EQ(wait_click(), -1);
    EXPECT_EQ(frames_shown(), 12);
}

// A button held on entry is no click: its release is passed over and only the next press
// counts.
TEST_F(PointerInput, ButtonHeldOnEntryIsIgnored) {
    mouse_b = 1;
    script_hold({140, 335, 1, 0}, 5); // still down over answer A
    script_hold({350, 375, 0, 0}, 3);
    script_hold({350, 375, 1, 0}, 2); // pressed again over answer D
    EXPECT_EQ(wait_click(), 3);
    EXPECT_EQ(frames_shown(), 9);
}

// Only the left button counts: a right or middle click is passed over.
TEST_F(PointerInput, OtherButtonsDoNothing) {
    script_hold({140, 335, 2, 0}, 3);
    script_hold({140, 335, 0, 0}, 1);
    script_hold({350, 335, 4, 0}, 3);
    script_idle(1);
    script_click_area(2);
    EXPECT_EQ(wait_click(), 2);
}

// Escape held on entry returns -2 after one frame, on every call while it stays held.
TEST_F(PointerInput, EscapeHeldReturnsAtOnce) {
    key[KEY_ESC] = 1;
    script_hold({0, 0, 0, 1}, 10);
    for (int call = 1; call <= 3; call++) {
        EXPECT_EQ(wait_click(), -2);
        EXPECT_EQ(frames_shown(), call);
    }
}

// Escape wins over a press that comes with it, and over the release of a held button.
TEST_F(PointerInput, EscapeWinsOverThePress) {
    script_idle(2);
    script_hold({140, 335, 1, 1}, 2);
    EXPECT_EQ(wait_click(), -2);

    script_reset();
    mouse_b = 1;
    script_hold({140, 335, 1, 0}, 2);
    script_hold({140, 335, 0, 1}, 2);
    EXPECT_EQ(wait_click(), -2);
    EXPECT_EQ(frames_shown(), 3);
}
