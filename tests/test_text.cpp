// Text layer: the ladder, the question block and the intro screen.
#include <cstring>
#include "harness/test_images.h"

static const int ORANGE = rgb(255, 192, 0), WHITE = rgb(255, 255, 255);

// Pixels of text_layer at (x, y) unlike s drawn alone in this colour on MASK_COLOR cells.
static int text_differences(const char *s, int colour, int x, int y) {
    int w = text_length(font, s);
    BITMAP *alone = create_bitmap_ex(32, w, 8);
    textout_ex(alone, font, s, 0, 0, colour, MASK_COLOR);
    int n = count_differences(text_layer, x, y, alone, 0, 0, w, 8);
    destroy_bitmap(alone);
    return n;
}

// Rows 1 to 15 show number and title, 5, 10 and 15 in orange, and nothing else (no title 0).
TEST(TextLayer, LadderRows) {
    ASSERT_EQ(load_test_images(), 0);
    draw_text_layer(0);
    int inked = 0;
    for (int row = 1; row <= 15; row++) {
        char line[32];
        std::snprintf(line, sizeof line, "%4d%11s", row, level_titles[row]);
        EXPECT_EQ(text_differences(line, row % 5 ? WHITE : ORANGE, 500, 480 - 30 * row), 0) << row;
        inked += 120 * 8 - count_colour(text_layer, MASK_COLOR, 500, 480 - 30 * row, 120, 8);
    }
    EXPECT_EQ(140 * 480 - count_colour(text_layer, MASK_COLOR, 500, 0, 140, 480), inked);
}

// Labels are orange, texts white and printed as they stand; an empty answer keeps its label.
TEST(TextLayer, QuestionBlock) {
    ASSERT_EQ(load_test_images(), 0);
    const char *labels[4] = {"A:", "B:", "C:", "D:"}, *answers[4] = {"tri", "%d%%%s", "", "X"};
    for (int slot = 0; slot < 4; slot++)
        std::strcpy(shown_question.answer_text[slot], answers[slot]);
    std::strcpy(shown_question.line1, "%s%n%d");
    question_lines = 1;
    draw_text_layer(TEXT_QUESTION);
    for (int slot = 0; slot < 4; slot++) {
        int x = ANSWER_X[slot] + 18, y = ANSWER_Y[slot] + 7;
        EXPECT_EQ(text_differences(labels[slot], ORANGE, x, y), 0) << slot;
        EXPECT_EQ(*answers[slot] ? text_differences(answers[slot], WHITE, x + 24, y) : 0, 0);
    }
    EXPECT_EQ(count_colour(text_layer, MASK_COLOR, 82, 372, 168, 8), 168 * 8); // answer C
    EXPECT_EQ(text_differences("%s%n%d", WHITE, 245 - 24, 276), 0);            // six cells
}

// Flag 4 centres the picture, the hint's cells replace its pixels, and no icon covers it.
TEST(TextLayer, IntroScreen) {
    ASSERT_EQ(load_test_images({60, 80, 480, 470}), 0); // the picture at (10, 5)
    draw_text_layer(TEXT_INTRO);
    EXPECT_EQ(text_differences("ESC to exit | click to continue", rgb(0, 64, 128), 223, 450), 0);
    int picture = pixel_at(title_image, 0, 0); // all of it shows but the hint's 248x8 cells
    EXPECT_EQ(count_colour(text_layer, picture, 10, 5, 480, 470), 480 * 470 - 248 * 8);
}
