// Text layer: placement, colour and order of the texts, the ladder, the intro screen, and the
// lifeline icons with their used marks.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"
#include "questions/questions.h"

static const char LONG_ANSWER[] = "ABCDEFGHIJKLMNOPQRSTUVWX"; // 24 characters

class TextLayer : public PicturesLoaded {
  protected:
    static void SetUpTestSuite() {
        TestImageSizes sizes;
        sizes.title_w = 480; // placed at (10, 5): under the hint line and the icons
        sizes.title_h = 470;
        load_pictures(sizes);
    }
    void SetUp() override {
        PicturesLoaded::SetUp();
        if (HasFatalFailure())
            return;
        level = 1;
        lifelines_used = 0;
        question_lines = 1;
        std::strcpy(shown_question.line1, "Kolko je dva a dva?");
        std::strcpy(shown_question.line2, "");
        const char *answers[4] = {"tri", "styri", "pat", "sest"};
        for (int slot = 0; slot < 4; slot++)
            std::strcpy(shown_question.answer_text[slot], answers[slot]);
    }
    static int orange() {
        return rgb(255, 192, 0);
    }
    static int white() {
        return rgb(255, 255, 255);
    }
    // Pixels of the layer's block at (x, y) that differ from the string drawn alone, left
    // aligned, in this colour, its cells on MASK_COLOR.
    static int text_differences(const char *s, int colour, int x, int y) {
        int w = text_length(font, s);
        BITMAP *alone = create_bitmap_ex(32, w, 8);
        textout_ex(alone, font, s, 0, 0, colour, MASK_COLOR);
        int n = count_differences(text_layer, x, y, alone, 0, 0, w, 8);
        destroy_bitmap(alone);
        return n;
    }
    // The same for a string centred on x.
    static int centred_differences(const char *s, int colour, int x, int y) {
        return text_differences(s, colour, x - text_length(font, s) / 2, y);
    }
    static int count_colour(int colour, int x, int y, int w, int h) {
        int n = 0;
        for (int j = y; j < y + h; j++)
            for (int i = x; i < x + w; i++)
                n += pixel_at(text_layer, i, j) == colour;
        return n;
    }
    static bool empty(int x, int y, int w, int h) {
        return count_colour(MASK_COLOR, x, y, w, h) == w * h;
    }
};

// Rows 1 to 15 hold their number and title in fixed fields, rows 5, 10 and 15 in orange; the
// rest of the ladder stays empty, so title 0 is nowhere.
TEST_F(TextLayer, LadderPrintsRowsOneToFifteen) {
    draw_text_layer(0);
    for (int row = 1; row <= 15; row++) {
        char line[32];
        std::snprintf(line, sizeof line, "%4d%11s", row, level_titles[row]);
        bool safe_or_top = row == 5 || row == 10 || row == 15;
        EXPECT_EQ(text_differences(line, safe_or_top ? orange() : white(), 500, 480 - 30 * row), 0)
            << "row " << row;
    }
    for (int y = 0; y < FRAME_H; y++) {
        int r = (480 - y) % 30;
        bool in_a_row = y >= 30 && (r == 0 || r >= 23);
        if (!in_a_row) {
            ASSERT_TRUE(empty(500, y, 140, 1)) << "y " << y;
        }
    }
    EXPECT_TRUE(empty(620, 0, 20, 480));
}

// The ladder is the same whatever the level and under every flag: the current row is shown by
// the panel's marker, not by the text.
TEST_F(TextLayer, LadderIgnoresLevelAndFlags) {
    level = 0;
    draw_text_layer(0);
    BITMAP *first = create_bitmap_ex(32, 140, 480);
    blit(text_layer, first, 500, 0, 0, 0, 140, 480);
    const int levels[3] = {7, 15, 16};
    const int flags[3] = {TEXT_QUESTION | TEXT_PROMPT, TEXT_INTRO, TEXT_QUESTION | TEXT_INTRO};
    for (int i = 0; i < 3; i++) {
        level = levels[i];
        draw_text_layer(flags[i]);
        EXPECT_EQ(count_differences(text_layer, 500, 0, first, 0, 0, 140, 480), 0) << i;
    }
    destroy_bitmap(first);
}

// The question block: orange labels, white answers beside them, a one-line question centred
// on x 245 at y 276.
TEST_F(TextLayer, QuestionBlockPlacement) {
    draw_text_layer(TEXT_QUESTION);
    const char *labels[4] = {"A:", "B:", "C:", "D:"};
    for (int slot = 0; slot < 4; slot++) {
        int x = ANSWER_X[slot] + 18, y = ANSWER_Y[slot] + 7;
        EXPECT_EQ(text_differences(labels[slot], orange(), x, y), 0) << slot;
        EXPECT_EQ(text_differences(shown_question.answer_text[slot], white(), x + 24, y), 0);
    }
    EXPECT_EQ(centred_differences(shown_question.line1, white(), 245, 276), 0);
    EXPECT_TRUE(empty(0, 268, 500, 8));
}

// Any question_lines but 1 gives the two-line layout; an empty second line prints nothing.
TEST_F(TextLayer, TwoLineQuestion) {
    std::strcpy(shown_question.line2, "a styri a styri?");
    for (int lines : {2, 0}) {
        question_lines = lines;
        draw_text_layer(TEXT_QUESTION);
        EXPECT_EQ(centred_differences(shown_question.line1, white(), 245, 268), 0) << lines;
        EXPECT_EQ(centred_differences(shown_question.line2, white(), 245, 284), 0) << lines;
        EXPECT_TRUE(empty(0, 276, 500, 8));
    }
    shown_question.line2[0] = 0;
    draw_text_layer(TEXT_QUESTION);
    EXPECT_TRUE(empty(0, 276, 500, 16));
}

// Question and answer texts are printed as they stand, percent signs included.
TEST_F(TextLayer, PercentSignsPrintLiterally) {
    std::strcpy(shown_question.line1, "%s%n%d");
    std::strcpy(shown_question.answer_text[3], "%d%%%s");
    draw_text_layer(TEXT_QUESTION);
    EXPECT_EQ(centred_differences("%s%n%d", white(), 245, 276), 0);
    EXPECT_EQ(text_differences("%d%%%s", white(), 292, 372), 0);
}

// An answer removed by the fifty-fifty leaves its label alone beside an empty field.
TEST_F(TextLayer, EmptyAnswerKeepsItsLabel) {
    shown_question.answer_text[2][0] = 0;
    draw_text_layer(TEXT_QUESTION);
    EXPECT_EQ(text_differences("C:", orange(), 58, 372), 0);
    EXPECT_TRUE(empty(74, 372, 176, 8));
}

// A 24-character answer in the left column ends at x 273; its last cell, drawn after the
// labels, wipes the left part of "B:" (x 268 to 273) and the rest of the label stays.
TEST_F(TextLayer, LongLeftAnswerOverwritesTheRightLabel) {
    std::strcpy(shown_question.answer_text[0], LONG_ANSWER);
    std::strcpy(shown_question.answer_text[2], LONG_ANSWER);
    draw_text_layer(TEXT_QUESTION);
    for (int y : {332, 372}) {
        EXPECT_EQ(text_differences(LONG_ANSWER, white(), 82, y), 0);
        EXPECT_EQ(count_colour(orange(), 266, y, 8, 8), 0);
        EXPECT_GT(count_colour(orange(), 274, y, 10, 8), 0);
    }
    // With a short answer the left part of the label does show.
    std::strcpy(shown_question.answer_text[0], "tri");
    draw_text_layer(TEXT_QUESTION);
    EXPECT_GT(count_colour(orange(), 268, 332, 6, 8), 0);
}

// The prompt: "Si si isty?" over "ANO" and "NIE", only with flag 2.
TEST_F(TextLayer, ConfirmationPrompt) {
    draw_text_layer(TEXT_QUESTION | TEXT_PROMPT);
    EXPECT_EQ(centred_differences("Si si isty?", white(), 250, 160), 0);
    EXPECT_EQ(centred_differences("ANO", white(), 210, 180), 0);
    EXPECT_EQ(centred_differences("NIE", white(), 290, 180), 0);
    draw_text_layer(TEXT_QUESTION);
    EXPECT_TRUE(empty(0, 150, 500, 40));
}

// The intro picture is centred in the play area and the hint's cells replace its pixels in
// the band x 223 to 470, y 450 to 457: dark-blue letters on MASK_COLOR.
TEST_F(TextLayer, HintCellsReplaceThePicture) {
    draw_text_layer(TEXT_INTRO);
    int picture = pixel_at(title_image, 0, 0);
    EXPECT_EQ(pixel_at(text_layer, 10, 5), picture);
    EXPECT_EQ(pixel_at(text_layer, 489, 474), picture);
    EXPECT_EQ(pixel_at(text_layer, 9, 5), MASK_COLOR);
    EXPECT_EQ(pixel_at(text_layer, 490, 474), MASK_COLOR);
    EXPECT_EQ(text_differences("ESC to exit | click to continue", rgb(0, 64, 128), 223, 450), 0);
    EXPECT_GT(count_colour(MASK_COLOR, 223, 450, 248, 8), 0);
    EXPECT_EQ(pixel_at(text_layer, 222, 450), picture);
    EXPECT_EQ(pixel_at(text_layer, 471, 457), picture);
    EXPECT_EQ(pixel_at(text_layer, 300, 449), picture);
    EXPECT_EQ(pixel_at(text_layer, 300, 458), picture);
}

// With flag 4 no icon, used mark or exit button is drawn, and the picture covers a question
// block drawn with it.
TEST_F(TextLayer, IntroLeavesOutIconsAndExit) {
    lifelines_used = 7;
    draw_text_layer(TEXT_INTRO | TEXT_QUESTION);
    int picture = pixel_at(title_image, 0, 0);
    for (int k = 0; k < 3; k++)
        EXPECT_EQ(count_colour(picture, lifeline_icon_x(k), 30, lifeline_sheet->w, 20),
                  lifeline_sheet->w * 20)
            << k;
    EXPECT_EQ(count_colour(picture, 40, 420, exit_button->w, exit_button->h),
              exit_button->w * exit_button->h);
    EXPECT_EQ(count_colour(picture, 58, 332, 16, 8), 16 * 8);
}

// Each icon is its own row of the sheet; a used lifeline carries the mark, whose empty half
// lets the icon show; bits other than 1, 2 and 4 mark nothing. The exit button sits at
// (40, 420).
TEST_F(TextLayer, IconsMarksAndExitButton) {
    int w = lifeline_sheet->w, q = lifeline_sheet->h / 4;
    lifelines_used = LIFELINE_SWITCH | 8 | 16;
    draw_text_layer(TEXT_QUESTION);
    EXPECT_EQ(count_differences(text_layer, lifeline_icon_x(0), 30, lifeline_sheet, 0, 0, w, q), 0);
    EXPECT_EQ(count_differences(text_layer, lifeline_icon_x(2), 30, lifeline_sheet, 0, 2 * q, w, q),
              0);
    int x1 = lifeline_icon_x(1);
    EXPECT_EQ(count_differences(text_layer, x1, 30, used_mark, 0, 0, w / 2, q), 0);
    EXPECT_EQ(count_differences(text_layer, x1 + w / 2, 30, lifeline_sheet, w / 2, q, w - w / 2, q),
              0);
    EXPECT_EQ(
        count_differences(text_layer, 40, 420, exit_button, 0, 0, exit_button->w, exit_button->h),
        0);

    lifelines_used = 7;
    draw_text_layer(0);
    for (int k = 0; k < 3; k++)
        EXPECT_EQ(count_differences(text_layer, lifeline_icon_x(k), 30, used_mark, 0, 0, w / 2, q),
                  0)
            << k;
}
