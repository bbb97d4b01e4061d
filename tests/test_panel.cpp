// Panel layer: which boxes are drawn for which flags and states, where the ladder marker
// stands, and that the scene is the background wherever the panel is empty.
#include <gtest/gtest.h>
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"
#include "questions/questions.h"

class PanelLayer : public PicturesLoaded {
  protected:
    void SetUp() override {
        PicturesLoaded::SetUp();
        if (HasFatalFailure())
            return;
        level = 1;
        for (int &s : answer_state)
            s = 0;
    }
    static bool marked(int x, int y) {
        return pixel_at(panel_layer, x, y) == rgb(0, 128, 128);
    }
    static bool empty(int x, int y, int w, int h) {
        return count_colour(panel_layer, MASK_COLOR, x, y, w, h) == w * h;
    }
};

// The marker of level 1 covers rows 446 to 460 and its points reach x 505 and 635, no
// further; at level 0 there is none.
TEST_F(PanelLayer, LadderMarker) {
    draw_panel_layer(0);
    EXPECT_TRUE(marked(570, 446) && marked(570, 460) && marked(505, 453) && marked(635, 453));
    EXPECT_FALSE(marked(570, 445) || marked(570, 461) || marked(504, 453) || marked(636, 453));
    EXPECT_NE(pixel_at(scene_layer, 570, 450), pixel_at(background_image, 570, 450));
    level = 0;
    draw_panel_layer(0);
    EXPECT_TRUE(empty(500, 0, 140, 480));
}

// Flag 2 drops the question box and the buttons but keeps the marker; flag 1 adds the
// confirmation box.
TEST_F(PanelLayer, FlagsChooseTheBoxes) {
    level = 5;
    draw_panel_layer(PANEL_NO_QUESTION | PANEL_CONFIRM);
    EXPECT_EQ(count_differences(panel_layer, 175, 153, confirm_box, 0, 0, 150, 40), 0);
    EXPECT_TRUE(empty(0, 200, 500, 280));
    EXPECT_TRUE(marked(570, 330));
    draw_panel_layer(0);
    EXPECT_EQ(count_differences(panel_layer, 40, 255, question_box, 0, 0, 410, 50), 0);
    EXPECT_TRUE(empty(175, 153, 150, 40));
}

// Each button shows the sheet row of its slot's state: normal, selected (orange), correct.
TEST_F(PanelLayer, ButtonsShowTheRowOfTheirState) {
    const int states[4] = {0, 1, 2, 1};
    for (int slot = 0; slot < 4; slot++)
        answer_state[slot] = states[slot];
    draw_panel_layer(0);
    for (int slot = 0; slot < 4; slot++)
        EXPECT_EQ(count_differences(panel_layer, ANSWER_X[slot], ANSWER_Y[slot], answer_sheet, 0,
                                    20 * states[slot], 200, 20),
                  0)
            << "slot " << slot;
}

// Wherever the panel stays empty, the cut ends of the boxes included, the scene is the
// background; the boxes change the scene under them.
TEST_F(PanelLayer, SceneIsTheBackgroundOutsideTheElements) {
    level = 7;
    answer_state[2] = 1;
    draw_panel_layer(PANEL_CONFIRM);
    int changed = 0;
    for (int y = 0; y < FRAME_H; y++)
        for (int x = 0; x < FRAME_W; x++) {
            bool same = pixel_at(scene_layer, x, y) == pixel_at(background_image, x, y);
            if (pixel_at(panel_layer, x, y) != MASK_COLOR) {
                changed += !same;
                continue;
            }
            ASSERT_TRUE(same) << x << "," << y;
        }
    EXPECT_GT(changed, 1000);
    EXPECT_EQ(pixel_at(panel_layer, 40, 325), MASK_COLOR);
}
