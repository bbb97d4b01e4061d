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
        lifelines_used = 0;
        question_lines = 1;
        std::strcpy(shown_question.line1, "Kolko je dva a dva?");
        const char *answers[4] = {"tri", "styri", "pat", "sest"};
        for (int slot = 0; slot < 4; slot++)
            std::strcpy(shown_question.answer_text[slot], answers[slot]);
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
    static int centred_differences(const char *s, int colour, int x, int y) {
        return text_differences(s, colour, x - text_length(font, s) / 2, y);
    }
    static int count(int colour, int x, int y, int w, int h) {
        return count_colour(text_layer, colour, x, y, w, h);
    }
    static int orange() {
        return rgb(255, 192, 0);
    }
    static int white() {
        return rgb(255, 255, 255);
    }
};

// Rows 1 to 15 hold number and title in fixed fields, rows 5, 10 and 15 in orange, whatever
// the level; nothing else stands on the ladder, so title 0 is nowhere.
TEST_F(TextLayer, LadderRows) {
    for (int at_level : {0, 9}) {
        level = at_level;
        draw_text_layer(at_level ? TEXT_INTRO : 0);
        int inked_in_rows = 0;
        for (int row = 1; row <= 15; row++) {
            char line[32];
            std::snprintf(line, sizeof line, "%4d%11s", row, level_titles[row]);
            int colour = row == 5 || row == 10 || row == 15 ? orange() : white();
            EXPECT_EQ(text_differences(line, colour, 500, 480 - 30 * row), 0) << "row " << row;
            inked_in_rows += 120 * 8 - count(MASK_COLOR, 500, 480 - 30 * row, 120, 8);
        }
        EXPECT_EQ(140 * 480 - count(MASK_COLOR, 500, 0, 140, 480), inked_in_rows);
    }
}

// The question block: orange labels, white answers, the question centred on x 245 at y 276,
// or at 268 and 284 for any question_lines but 1.
TEST_F(TextLayer, QuestionBlockPlacement) {
    draw_text_layer(TEXT_QUESTION);
    const char *labels[4] = {"A:", "B:", "C:", "D:"};
    for (int slot = 0; slot < 4; slot++) {
        int x = ANSWER_X[slot] + 18, y = ANSWER_Y[slot] + 7;
        EXPECT_EQ(text_differences(labels[slot], orange(), x, y), 0) << slot;
        EXPECT_EQ(text_differences(shown_question.answer_text[slot], white(), x + 24, y), 0);
    }
    EXPECT_EQ(centred_differences(shown_question.line1, white(), 245, 276), 0);
    std::strcpy(shown_question.line2, "a styri a styri?");
    question_lines = 0;
    draw_text_layer(TEXT_QUESTION);
    EXPECT_EQ(centred_differences(shown_question.line1, white(), 245, 268), 0);
    EXPECT_EQ(centred_differences(shown_question.line2, white(), 245, 284), 0);
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
    EXPECT_EQ(count(MASK_COLOR, 74, 372, 176, 8), 176 * 8);
}

// A 24-character answer A ends at x 273; its last cell, drawn after the labels, wipes the left
// part of "B:" (x 268 to 273), and the rest of the label stays.
TEST_F(TextLayer, LongLeftAnswerOverwritesTheRightLabel) {
    std::strcpy(shown_question.answer_text[0], LONG_ANSWER);
    draw_text_layer(TEXT_QUESTION);
    EXPECT_EQ(text_differences(LONG_ANSWER, white(), 82, 332), 0);
    EXPECT_EQ(count(orange(), 266, 332, 8, 8), 0);
    EXPECT_GT(count(orange(), 274, 332, 10, 8), 0);
    EXPECT_GT(count(orange(), 268, 372, 6, 8), 0); // "D:" beside a short answer C
}

// The prompt: "Si si isty?" over "ANO" and "NIE", only with flag 2.
TEST_F(TextLayer, ConfirmationPrompt) {
    draw_text_layer(TEXT_QUESTION | TEXT_PROMPT);
    EXPECT_EQ(centred_differences("Si si isty?", white(), 250, 160), 0);
    EXPECT_EQ(centred_differences("ANO", white(), 210, 180), 0);
    EXPECT_EQ(centred_differences("NIE", white(), 290, 180), 0);
    draw_text_layer(TEXT_QUESTION);
    EXPECT_EQ(count(MASK_COLOR, 0, 150, 500, 40), 500 * 40);
}

// The intro picture is centred in the play area over the question block, the hint's cells
// replace its pixels in the band x 223 to 470, y 450 to 457, and no icon or exit button is
// drawn over it.
TEST_F(TextLayer, IntroScreen) {
    lifelines_used = 7;
    draw_text_layer(TEXT_INTRO | TEXT_QUESTION);
    int picture = pixel_at(title_image, 0, 0);
    EXPECT_EQ(pixel_at(text_layer, 9, 5), MASK_COLOR);
    EXPECT_EQ(pixel_at(text_layer, 490, 474), MASK_COLOR);
    EXPECT_EQ(text_differences("ESC to exit | click to continue", rgb(0, 64, 128), 223, 450), 0);
    EXPECT_GT(count(MASK_COLOR, 223, 450, 248, 8), 0);
    EXPECT_EQ(count(picture, 10, 5, 480, 445) + count(picture, 10, 458, 480, 17) +
                  count(picture, 10, 450, 213, 8) + count(picture, 471, 450, 19, 8),
              480 * 470 - 248 * 8);
}

// Each icon is its own row of the sheet; a used lifeline carries the mark, whose empty half
// lets the icon show; bits other than 1, 2 and 4 mark nothing. The exit button is at (40, 420).
TEST_F(TextLayer, IconsMarksAndExitButton) {
    int w = lifeline_sheet->w, q = lifeline_sheet->h / 4, x1 = lifeline_icon_x(1);
    lifelines_used = LIFELINE_SWITCH | 8 | 16;
    draw_text_layer(0);
    EXPECT_EQ(count_differences(text_layer, lifeline_icon_x(0), 30, lifeline_sheet, 0, 0, w, q), 0);
    EXPECT_EQ(count_differences(text_layer, lifeline_icon_x(2), 30, lifeline_sheet, 0, 2 * q, w, q),
              0);
    EXPECT_EQ(count_differences(text_layer, x1, 30, used_mark, 0, 0, w / 2, q), 0);
    EXPECT_EQ(count_differences(text_layer, x1 + w / 2, 30, lifeline_sheet, w / 2, q, w / 2, q), 0);
    EXPECT_EQ(
        count_differences(text_layer, 40, 420, exit_button, 0, 0, exit_button->w, exit_button->h),
        0);
}
