// The question draw: answer shuffle, question probe and copy onto the board. This program's own
// rand(), which the linker prefers to the C library's, hands each draw the numbers its row gives.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <string>
#include "game/game.h"
#include "questions/questions.h"

static int script[5]; // the numbers rand() hands out in turn
static int taken;     // how many the code under test took

extern "C" int rand(void) noexcept {
    return script[taken++ % 5];
}

// Loads a tier of n questions: `first`, then "Otazka i" with answers "dobra", "a", "b", "c".
static void load_tier_of(int n, const std::string &first) {
    std::string text = std::to_string(n) + "\n" + first;
    for (int i = first.empty() ? 0 : 1; i < n; i++)
        text += "Otazka " + std::to_string(i) + "\ndobra\na\nb\nc\n";
    std::ofstream("questions_draw_tier.txt") << text;
    EXPECT_EQ(load_question_file("questions_draw_tier.txt"), 0);
}

// The board as "line1/line2|A|B|C|D" ("/line2" only for two lines).
static std::string board(void) {
    const ShownQuestion &q = shown_question;
    std::string out = q.line1 + (question_lines == 2 ? "/" + std::string(q.line2) : "");
    for (const char *answer : q.answer_text)
        out += "|" + std::string(answer);
    return out;
}

// Five numbers a draw: four place the answers, probing up to a free slot; the fifth the question.
TEST(QuestionDraw, ShuffleThenQuestion) {
    const struct {
        std::string first, shown; // the tier's first block, the board drawn
        int count, numbers[5], history[5], drawn;
    } cases[] = {
        // B and C taken: a 1 puts the third answer in D, a 3 the fourth in A.
        {"", "Otazka 4|c|dobra|a|b", 6, {1, 2, 1, 3, 4}, {-1, -1, -1, -1, -1}, 4},
        {"", "Otazka 5|dobra|a|b|c", 10, {0, 0, 0, 0, 3}, {-1, -1, 3, 4, -1}, 5}, // past history
        {"", "Otazka 9|dobra|a|b|c", 10, {0, 0, 0, 0, 9}, {-1, -1, 3, 4, -1}, 9},
        {"", "Otazka 0|dobra|a|b|c", 10, {0, 0, 0, 0, 18}, {8, 9, -1, -1, -1}, 0}, // wraps to 0
        {"", "Otazka 3|dobra|a|b|c", 6, {0, 0, 0, 0, 4}, {0, 1, 2, 4, 5}, 3}, // the sixth of six
        {"", "Otazka 0|dobra|a|b|c", 6, {0, 0, 0, 0, 11}, {1, 2, 3, 4, 5}, 0},
        // Texts are copied as they stand, "%" too, both lines of a split question.
        {"Dva\tdva\n100 %\n%s\n%d %n\n\n", "Dva/dva|100 %|%s|%d %n|", 7, {}, {7, 7, 7, 7, 7}, 0},
    };
    level = 7; // history entry 2
    for (const auto &c : cases) {
        load_tier_of(c.count, c.first);
        std::copy(c.history, c.history + 5, recent_questions);
        std::copy(c.numbers, c.numbers + 5, script);
        taken = 0;
        answer_state[3] = 2; // the states start normal
        draw_question();
        EXPECT_EQ(taken, 5);
        EXPECT_EQ(board(), c.shown);
        EXPECT_EQ(recent_questions[2], c.drawn);
        EXPECT_EQ(answer_state[3], 0);
    }
}
