// Panel layer: the boxes each flag draws, the ladder marker, the buttons' rows and the scene.
#include "harness/test_images.h"

// The marker frames the level's row (none at level 0) whichever boxes the flags choose.
TEST(PanelLayer, MarkerAndBoxes) {
    ASSERT_EQ(load_test_images(), 0);
    auto marked = [](int x, int y) { return pixel_at(panel_layer, x, y) == rgb(0, 128, 128); };
    auto empty = [](int x, int y, int w, int h) {
        return count_colour(panel_layer, MASK_COLOR, x, y, w, h) == w * h;
    };
    level = 1; // its marker: rows 446 to 460, points at x 505 and 635
    draw_panel_layer(PANEL_NO_QUESTION | PANEL_CONFIRM);
    EXPECT_TRUE(marked(570, 446) && marked(570, 460) && marked(505, 453) && marked(635, 453));
    EXPECT_FALSE(marked(570, 445) || marked(570, 461) || marked(504, 453) || marked(636, 453));
    EXPECT_EQ(count_differences(panel_layer, 175, 153, confirm_box, 0, 0, 150, 40), 0);
    EXPECT_TRUE(empty(0, 200, 500, 280));
    level = 0;
    draw_panel_layer(0);
    EXPECT_TRUE(empty(500, 0, 140, 480) && empty(175, 153, 150, 40) && !empty(40, 255, 410, 50));
}

// Buttons show their state's sheet row; wherever the panel is empty the scene is the background.
TEST(PanelLayer, ButtonRowsAndSceneOutsideTheElements) {
    ASSERT_EQ(load_test_images(), 0);
    const int states[4] = {0, 1, 2, 1}; // normal, selected (orange), correct
    std::copy(states, states + 4, answer_state);
    level = 7;
    draw_panel_layer(PANEL_CONFIRM);
    for (int slot = 0; slot < 4; slot++)
        EXPECT_EQ(0, count_differences(panel_layer, ANSWER_X[slot], ANSWER_Y[slot], answer_sheet, 0,
                                       20 * states[slot], 200, 20))
            << slot;
    int changed = 0, leaked = 0;
    for (int y = 0; y < FRAME_H; y++)
        for (int x = 0; x < FRAME_W; x++)
            (pixel_at(panel_layer, x, y) == MASK_COLOR ? leaked : changed) +=
                pixel_at(scene_layer, x, y) != pixel_at(background_image, x, y);
    EXPECT_EQ(leaked, 0);
    EXPECT_GT(changed, 1000);
}
