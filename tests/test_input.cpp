// Pointer input: the click areas, both ends included, and the click wait.
#include "harness/test_images.h"

// Both ends of each click area are inside it; overlapping lifeline areas go to the lower one.
TEST(PointerInput, AreaBoundaries) {
    // {sheet width, x, y, area}: a 60x80 sheet has 60x20 icons at x 80, 220 and 360, and the
    // exit button is 60x30 at (40, 420); sheets 140 and 160 wide make the lifeline areas overlap.
    const int probes[][4] = {
        {60, 40, 325, 0},   {60, 39, 325, -1},  {60, 40, 324, -1}, {60, 240, 345, 0},
        {60, 250, 325, 1},  {60, 40, 365, 2},   {60, 450, 385, 3}, {60, 451, 385, -1},
        {60, 193, 175, 4},  {60, 192, 175, -1}, {60, 307, 190, 5}, {60, 308, 190, -1},
        {60, 80, 30, 6},    {60, 79, 30, -1},   {60, 220, 30, 7},  {60, 420, 50, 8},
        {60, 421, 50, -1},  {60, 420, 51, -1},  {60, 40, 420, 9},  {60, 100, 450, 9},
        {60, 101, 450, -1}, {60, 100, 451, -1}, {140, 180, 35, 6}, {140, 181, 35, 7},
        {140, 321, 35, 8},  {160, 185, 35, 6},  {160, 325, 35, 7}, {160, 470, 50, 8},
    };
    for (int sheet_w : {60, 140, 160}) {
        ASSERT_EQ(load_test_images({sheet_w}), 0);
        for (const auto &p : probes) {
            if (p[0] != sheet_w)
                continue;
            EXPECT_EQ(hit_test(p[1], p[2]), p[3]) << sheet_w << ": " << p[1] << "," << p[2];
        }
    }
}

// The wait answers a fresh left press only, with no frame after it; Escape wins over a press.
TEST(PointerInput, ClickWait) {
    ASSERT_EQ(load_test_images(), 0);
    script_reset();
    mouse_b = 1;
    script_hold({140, 335, 1, 0}, 3); // still down over answer A
    script_hold({350, 375, 2, 0}, 2); // right, then middle
    script_hold({350, 375, 4, 0}, 2);
    script_hold({350, 375, 1, 0}, 2); // pressed over answer D
    EXPECT_EQ(wait_click(), 3);
    EXPECT_EQ(frames_shown(), 8);
    script_reset();
    script_idle(2);
    script_hold({140, 335, 1, 1}, 2); // a press with Escape
    EXPECT_EQ(wait_click(), -2);
    EXPECT_EQ(frames_shown(), 3);
}
