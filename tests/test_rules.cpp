// Game rules, headless with the real bank: endings, the prompt, lifelines and the blink.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "harness/harness.h"

struct Rules : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(headless_load(game_folder().c_str()), 0);
        script_reset();
        animations.clear();
    }
    int click(int area) {
        script_click_area(area);
        return play_turn();
    }
};

// A wrong answer falls to the last safe row below it, walking away keeps the last row answered:
// the final screen shows that row marked, at level one past it.
TEST_F(Rules, HowAGameEnds) {
    // the question the game ends on, 1 if walked away from (else answered wrongly), the row kept
    const int cases[][3] = {{1, 0, 0},   {5, 0, 0}, {6, 0, 5}, {10, 0, 5},
                            {11, 0, 10}, {1, 1, 0}, {7, 1, 6}, {15, 1, 14}};
    for (const auto &[question, walked, row] : cases) {
        SCOPED_TRACE(question * 10 + walked);
        animations.clear();
        std::string words = "go";
        for (int q = 1; q < question; q++)
            words += " right";
        EXPECT_EQ(play_words(words + (walked ? " exit" : " wrong")), 1);
        ASSERT_EQ(animations.size(), size_t(question));
        EXPECT_EQ(animations.back().level * 100 + animations.back().row, row * 101 + 100);
    }
}

// The fifty-fifty keeps the correct answer and the wrong one rand() % 3 + 1 slots after it,
// wrapping from D to A; emptied slots do not react; it works once (no rand()).
TEST_F(Rules, FiftyFiftyEveryOutcome) {
    const std::tuple<int, int, const char *> cases[] = {
        // the correct slot, the fifty-fifty's rand(), the slots kept
        {0, 3, "AB"}, {0, 4, "AC"}, {0, 5, "AD"}, {1, 3, "BC"}, {1, 4, "BD"}, {1, 5, "AB"},
        {2, 3, "CD"}, {2, 4, "AC"}, {2, 5, "BC"}, {3, 3, "AD"}, {3, 4, "BD"}, {3, 5, "CD"},
    };
    for (const auto &[correct, r, want] : cases) {
        SCOPED_TRACE(correct * 10 + r);
        script_reset();
        script_rand({correct, 0, 0, 0, 0, r});
        play_words("go");
        EXPECT_TRUE(click(AREA_FIFTY) == 0 && lifelines_used == LIFELINE_FIFTY);
        std::string kept;
        for (int slot = 0; slot < 4; slot++)
            if (shown_question.answer_text[slot][0])
                kept += char('A' + slot);
            else
                EXPECT_TRUE(click(slot) == 0 && answer_state[slot] == 0) << slot;
        EXPECT_EQ(kept, want);
        EXPECT_TRUE(click(AREA_FIFTY) == 0 && rand_taken == 6);
    }
}

// In each of two games: at the prompt answers, lifelines, exit, space and Escape do nothing,
// "NIE" restores the question; with none "ANO", "NIE", space, Escape do nothing. The switch keeps
// the level, restores answers, works once, never redraws its question; the third only marks.
TEST_F(Rules, PromptAndLifelinesInTwoGames) {
    for (int game = 0; game < 2; game++) {
        animations.clear();
        play_words("go");
        ShownQuestion before = shown_question;
        for (int area : {correct_slot, 0, 3, +AREA_FIFTY, +AREA_SWITCH, +AREA_THIRD, +AREA_EXIT, -1,
                         +AREA_ESCAPE, +AREA_NIE, +AREA_ANO, +AREA_NIE, -1, +AREA_ESCAPE})
            area == AREA_ESCAPE ? script_hold({300, 100, 0, 1}, 1) : script_click_area(area);
        for (int turn = 0; turn < 5; turn++) // the prompt, then one click each
            EXPECT_EQ(play_turn(), 0);
        EXPECT_EQ(std::memcmp(&before, &shown_question, sizeof before), 0);
        EXPECT_TRUE(level == 1 && !lifelines_used && animations.empty() && !script_frames_left() &&
                    std::count(answer_state, answer_state + 4, 0) == 4);
        EXPECT_EQ(getpixel(scene_layer, 250, 172), getpixel(background_image, 250, 172));
        play_words("right fifty");
        int parked = recent_questions[2];
        play_words("switch");
        ShownQuestion after = shown_question;
        play_words("third switch");
        EXPECT_TRUE(
            level == 2 && lifelines_used == 7 && recent_questions[2] != parked &&
            std::all_of(after.answer_text, after.answer_text + 4, [](auto &a) { return a[0]; }));
        EXPECT_EQ(std::memcmp(&after, &shown_question, sizeof after), 0);
        while (level < 5) {
            script_rand({0, 0, 0, 0, parked});
            play_words("right");
            EXPECT_NE(recent_questions[level % 5], parked) << level;
        }
    }
}

// The blink shows 3 cycles of 30 frames correct, 30 as it was; a wrong choice stays selected.
TEST_F(Rules, BlinkPhasesInFrames) {
    play_words("go");
    int other = (correct_slot + 1) % 4, x = ANSWER_X[correct_slot] + 100,
        y = ANSWER_Y[correct_slot] + 2, first = 0;
    answer_state[correct_slot] = answer_state[other] = 1;
    std::string got, want;
    per_frame_agent = [&] { // the state, the look (same as the first frame's: a) and the other
        first = got.empty() ? getpixel(screen, x, y) : first;
        got += std::to_string(answer_state[correct_slot] * 100 + answer_state[other]) +
               (getpixel(screen, x, y) == first ? 'a' : 'b');
    };
    blink_correct();
    for (int f = 0; f < 180; f++)
        want += f % 60 < 30 ? "201a" : "101b";
    EXPECT_EQ(got, want);
}
