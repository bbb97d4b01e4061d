// Pointer input: the click areas with both ends included, and the click wait's handling of
// held buttons, the other buttons and Escape.
#include <gtest/gtest.h>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"

// Loads pictures of the given sizes and draws a board to present.
class PointerInput : public ::testing::Test {
  protected:
    std::string dir;
    void load(const TestImageSizes &sizes) {
        remove_test_images(dir);
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

// Both ends of a rectangle are inside, one past them is not; the comparisons are signed.
TEST(PointInRect, BothEndsIncluded) {
    EXPECT_EQ(point_in_rect(15, 25, 10, 20, 5, 5), 1);
    EXPECT_EQ(point_in_rect(16, 25, 10, 20, 5, 5), 0);
    EXPECT_EQ(point_in_rect(15, 26, 10, 20, 5, 5), 0);
    EXPECT_EQ(point_in_rect(-3, -3, -5, -5, 2, 2), 1);
    EXPECT_EQ(point_in_rect(-6, -3, -5, -5, 2, 2), 0);
}

// The corners of the areas and the points one past them, with a 60x80 lifeline sheet (icons
// 60x20 at x 80, 220, 360) and a 60x30 exit button.
TEST_F(PointerInput, AreaBoundaries) {
    const int probes[][3] = {
        {240, 345, 0},  {241, 345, -1}, {240, 346, -1}, {40, 325, 0},   {245, 335, -1},
        {250, 325, 1},  {450, 345, 1},  {451, 345, -1}, {40, 365, 2},   {450, 385, 3},
        {193, 175, 4},  {192, 175, -1}, {227, 190, 4},  {228, 190, -1}, {273, 175, 5},
        {307, 190, 5},  {250, 162, -1}, {80, 30, 6},    {140, 50, 6},   {141, 50, -1},
        {140, 51, -1},  {220, 30, 7},   {420, 50, 8},   {40, 420, 9},   {100, 450, 9},
        {101, 450, -1}, {100, 451, -1},
    };
    for (const auto &p : probes)
        EXPECT_EQ(hit_test(p[0], p[1]), p[2]) << p[0] << "," << p[1];
}

// A sheet 140 or more wide makes neighbouring lifeline areas overlap; the lower area wins.
// The areas follow the pictures as they are at each test.
TEST_F(PointerInput, LifelineAreasFollowTheSheet) {
    TestImageSizes sizes;
    sizes.sheet_w = 140; // areas x 40..180, 180..320, 320..460
    load(sizes);
    EXPECT_EQ(hit_test(180, 35), 6);
    EXPECT_EQ(hit_test(181, 35), 7);
    EXPECT_EQ(hit_test(320, 35), 7);
    EXPECT_EQ(hit_test(321, 35), 8);
    sizes.sheet_w = 160; // areas x 30..190, 170..330, 310..470
    load(sizes);
    EXPECT_EQ(hit_test(185, 35), 6);
    EXPECT_EQ(hit_test(325, 35), 7);
    EXPECT_EQ(hit_test(470, 50), 8);
}

// A left press ends the wait with the area under the pointer, right and middle clicks before
// it are passed over, and no frame is shown after the press: one on entry, one per pass.
TEST_F(PointerInput, LeftPressGivesItsArea) {
    script_hold({140, 335, 2, 0}, 2);
    script_hold({140, 335, 4, 0}, 2);
    script_click_area(1);
    EXPECT_EQ(wait_click(), 1);
    EXPECT_EQ(frames_shown(), 6);
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

// Escape held on entry returns -2 after one frame, on every call while it stays held; it also
// wins over a press that comes with it.
TEST_F(PointerInput, EscapeHeld) {
    key[KEY_ESC] = 1;
    script_hold({0, 0, 0, 1}, 10);
    for (int call = 1; call <= 3; call++) {
        EXPECT_EQ(wait_click(), -2);
        EXPECT_EQ(frames_shown(), call);
    }
    script_reset();
    script_idle(2);
    script_hold({140, 335, 1, 1}, 2);
    EXPECT_EQ(wait_click(), -2);
}
