// Game rules, headless with the real question bank and drawing: how games end, the prompt,
// every outcome of the fifty-fifty, the switch, the blink's frames and the main loop.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include "harness/harness.h"
#include "sound/sound.h"

class Rules : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::string folder = game_folder();
        ASSERT_EQ(headless_load(folder.c_str()), 0);
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
    const struct {
        int question;
        const char *last;
        int row;
    } cases[] = {{1, "wrong", 0},   {5, "wrong", 0}, {6, "wrong", 5}, {10, "wrong", 5},
                 {11, "wrong", 10}, {1, "exit", 0},  {7, "exit", 6},  {15, "exit", 14}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.question) + c.last);
        animations.clear();
        std::string words = "go";
        for (int q = 1; q < c.question; q++)
            words += " right";
        EXPECT_EQ(play_words(words + " " + c.last), 1);
        ASSERT_EQ(animations.size(), size_t(c.question));
        EXPECT_EQ(animations.back().level * 100 + animations.back().row, c.row * 101 + 100);
    }
}

// At the prompt answers, lifelines, exit, empty space and Escape do nothing; "NIE" restores the
// question with nothing selected. With no prompt, "ANO", "NIE", space and Escape do nothing.
TEST_F(Rules, ConfirmationPrompt) {
    play_words("go");
    ShownQuestion before = shown_question;
    script_click_area(correct_slot);
    for (int area : {0, 3, (int)AREA_FIFTY, (int)AREA_SWITCH, (int)AREA_THIRD, (int)AREA_EXIT, -1})
        script_click_area(area);
    script_hold({300, 100, 0, 1}, 5);
    script_click_area(AREA_NIE);
    EXPECT_EQ(play_turn(), 0);
    for (int area : {(int)AREA_ANO, (int)AREA_NIE, -1})
        EXPECT_EQ(click(area), 0);
    script_hold({300, 100, 0, 1}, 2);
    EXPECT_EQ(play_turn(), 0);
    EXPECT_EQ(std::memcmp(&before, &shown_question, sizeof before), 0);
    EXPECT_TRUE(level == 1 && lifelines_used == 0 && animations.empty());
    EXPECT_EQ(std::count(answer_state, answer_state + 4, 0), 4);
    EXPECT_EQ(getpixel(scene_layer, 250, 172), getpixel(background_image, 250, 172));
}

// For every correct slot and every rand() % 3 the fifty-fifty keeps the correct answer and the
// wrong one k = rand() % 3 + 1 slots after it; emptied slots do not react; it works once.
TEST_F(Rules, FiftyFiftyEveryOutcome) {
    for (int correct = 0; correct < 4; correct++)
        for (int r = 3; r < 6; r++) {
            SCOPED_TRACE(std::to_string(correct) + " " + std::to_string(r));
            script_reset();
            script_rand({correct, 0, 0, 0, 0});
            play_words("go");
            ASSERT_EQ(correct_slot, correct);
            script_rand({r});
            EXPECT_TRUE(click(AREA_FIFTY) == 0 && lifelines_used == LIFELINE_FIFTY);
            for (int slot = 0; slot < 4; slot++) {
                bool kept = slot == correct || slot == (correct + r % 3 + 1) % 4;
                EXPECT_EQ(shown_question.answer_text[slot][0] != '\0', kept) << slot;
                EXPECT_TRUE(kept || (click(slot) == 0 && answer_state[slot] == 0));
            }
            std::string left = shown_question.answer_text[correct];
            script_rand({r + 1});
            EXPECT_TRUE(click(AREA_FIFTY) == 0 && rand_taken() == 6);
            EXPECT_EQ(shown_question.answer_text[correct], left);
        }
}

// The switch keeps the level, brings back removed answers and works once a game; the question
// it replaced is never drawn again in the tier, even from a random start on it; the third
// lifeline only marks itself; a new game restores all three.
TEST_F(Rules, SwitchAndThirdLifeline) {
    for (int game = 0; game < 2; game++) {
        play_words("go right fifty");
        int parked = recent_questions[2];
        play_words("switch");
        ShownQuestion after = shown_question;
        play_words("third switch");
        EXPECT_TRUE(level == 2 && lifelines_used == 7 && recent_questions[2] != parked);
        EXPECT_EQ(std::memcmp(&after, &shown_question, sizeof after), 0);
        for (int slot = 0; slot < 4; slot++)
            EXPECT_NE(shown_question.answer_text[slot][0], '\0');
        while (level < 5) {
            script_rand({0, 0, 0, 0, parked});
            play_words("right");
            EXPECT_NE(recent_questions[level % 5], parked) << level;
        }
        EXPECT_EQ(play_words("exit"), 1);
    }
}

// The blink: three cycles of 30 frames correct, then 30 as the slot was (selected here), each
// phase shown on the screen; a wrongly chosen slot stays selected throughout.
TEST_F(Rules, BlinkPhasesInFrames) {
    play_words("go");
    int other = (correct_slot + 1) % 4, x = ANSWER_X[correct_slot] + 100,
        y = ANSWER_Y[correct_slot] + 2;
    answer_state[correct_slot] = answer_state[other] = 1;
    std::string got, cycle = std::string(30, '2') + std::string(30, '1');
    int first = 0;
    per_frame_agent = [&] { // the state, the look (same as the first frame's: a) and the other
        first = got.empty() ? getpixel(screen, x, y) : first;
        got += std::to_string(answer_state[correct_slot] * 100 + answer_state[other]) +
               (getpixel(screen, x, y) == first ? 'a' : 'b');
    };
    blink_correct();
    std::string want;
    for (char c : cycle + cycle + cycle)
        want += c == '2' ? "201a" : "101b";
    EXPECT_EQ(got, want);
}

// Escape held before the loop: no game, no frame. A finished game is followed by a new intro;
// Escape held there ends the loop with 0 once new_game has finished.
TEST_F(Rules, MainLoop) {
    key[KEY_ESC] = 1;
    EXPECT_TRUE(main_loop() == 0 && frames_shown() == 0);
    script_reset();
    static int intros;
    intros = 0;
    effect_hook = [](int effect) {
        if (effect == EFFECT_INTRO && ++intros == 2)
            script_hold({0, 0, 0, 1}, 1);
    };
    script_click(470, 10);
    script_click_area(AREA_EXIT);
    script_hold({0, 0, 0, 0}, 120);
    script_click(470, 10); // ends the final screen
    EXPECT_EQ(main_loop(), 0);
    effect_hook = nullptr;
    EXPECT_TRUE(intros == 2 && level == 1);
}

// The window test's game script, played headless, ends as its comments say.
TEST_F(Rules, WindowGameScript) {
    std::ifstream in(REBRIK_TEST_DATA_DIR "/window_game.txt");
    std::stringstream words;
    words << in.rdbuf();
    EXPECT_TRUE(play_words(words.str()) == 2 && key[KEY_ESC] == 1);
    ASSERT_EQ(animations.size(), 3u);
    EXPECT_TRUE(animations[0].frames == 200 && animations[1].row == 1 && animations[2].row == 0);
}
