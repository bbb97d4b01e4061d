// Complete headless games: the real rules, question bank and drawing, with scripted clicks and
// time, checked by what the frames show (banner and final titles, the marked ladder row).
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "questions/questions.h"

class Game : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::string folder = make_game_folder();
        ASSERT_EQ(headless_load(folder.c_str()), 0);
        script_reset();
        watch_start();
        srand(1234);
    }

    // Leaves the intro with a click on empty background.
    void start(void) {
        script_click(470, 10);
        new_game();
        ASSERT_EQ(level, 1);
    }

    // Chooses an answer and confirms it; returns play_turn's result.
    int answer(int slot) {
        script_click_area(slot);
        script_click_area(AREA_ANO);
        return play_turn();
    }

    int wrong_slot(void) {
        return (correct_slot + 1) % 4;
    }

    // Answers correctly until the given question is on the board.
    void climb_to(int question) {
        while (level < question)
            ASSERT_EQ(answer(correct_slot), 0);
    }

    int click(int area) {
        script_click_area(area);
        return play_turn();
    }
};

static std::vector<std::string> titles(int from, int to) {
    std::vector<std::string> t;
    for (int i = from; i <= to; i++)
        t.push_back(level_titles[i]);
    return t;
}

// Fifteen correct answers: a banner for each of rows 1 to 14, none after 15, and the final
// screen shows "milionar" with the marker on the top row.
TEST_F(Game, WinningAllFifteen) {
    start();
    climb_to(15);
    EXPECT_EQ(answer(correct_slot), 1);
    EXPECT_EQ(watch.banners, titles(1, 14));
    ASSERT_EQ(watch.finals.size(), 1u);
    EXPECT_EQ(watch.finals[0], "milionar");
    EXPECT_EQ(watch.final_marks[0], 15);
    EXPECT_EQ(level, 16);
}

// A wrong answer falls back to the last safe row below the question: the row being played is
// not yet safe.
TEST_F(Game, WrongAnswerFallsToTheSafeRow) {
    struct Case {
        int question;
        const char *title;
        int mark;
    };
    for (Case c : {Case{1, "si nula", 0}, Case{5, "si nula", 0}, Case{6, "flakac", 5},
                   Case{10, "flakac", 5}, Case{15, "Blavak", 10}}) {
        watch_start();
        start();
        climb_to(c.question);
        EXPECT_EQ(answer(wrong_slot()), 1) << c.question;
        ASSERT_EQ(watch.finals.size(), 1u) << c.question;
        EXPECT_EQ(watch.finals[0], c.title) << c.question;
        EXPECT_EQ(watch.final_marks[0], c.mark) << c.question;
    }
}

// Walking away keeps the title of the last row answered, with the marker there.
TEST_F(Game, WalkingAway) {
    struct Case {
        int question;
        const char *title;
    };
    for (Case c : {Case{1, "si nula"}, Case{7, "kysucan"}, Case{15, "Mudrlant"}}) {
        watch_start();
        start();
        climb_to(c.question);
        EXPECT_EQ(click(AREA_EXIT), 1);
        ASSERT_EQ(watch.finals.size(), 1u);
        EXPECT_EQ(watch.finals[0], c.title);
        EXPECT_EQ(watch.final_marks[0], c.question - 1);
    }
}

// "NIE" withdraws the choice: the same question, nothing selected, the prompt gone.
TEST_F(Game, NoRestoresTheSameQuestion) {
    start();
    std::string question = shown_question.line1;
    script_click_area(2);
    script_click_area(AREA_NIE);
    EXPECT_EQ(play_turn(), 0);
    EXPECT_EQ(question, shown_question.line1);
    for (int s : answer_state)
        EXPECT_EQ(s, 0);
    EXPECT_EQ(level, 1);
    // The confirmation box's middle shows the background again.
    EXPECT_EQ(getpixel(scene_layer, 250, 172), getpixel(background_image, 250, 172));
}

// While the prompt waits, answers, lifelines, the exit button, empty space and Escape do
// nothing; only "ANO" or "NIE" end it.
TEST_F(Game, PromptIgnoresEverythingElse) {
    start();
    script_click_area(correct_slot);
    for (int area : std::initializer_list<int>{0, 3, AREA_FIFTY, AREA_SWITCH, AREA_THIRD, AREA_EXIT,
                                               AREA_NONE})
        script_click_area(area);
    script_hold({300, 100, 0, 1}, 5);
    script_click_area(AREA_NIE);
    EXPECT_EQ(play_turn(), 0);
    EXPECT_EQ(lifelines_used, 0);
    EXPECT_EQ(level, 1);
    EXPECT_TRUE(watch.finals.empty());
}

// "ANO" and "NIE" with no prompt on the screen, empty space and Escape change nothing.
TEST_F(Game, ConfirmationFieldsAreDeadWithoutAPrompt) {
    start();
    ShownQuestion before = shown_question;
    for (int area : std::initializer_list<int>{AREA_ANO, AREA_NIE, AREA_NONE})
        EXPECT_EQ(click(area), 0);
    script_hold({300, 100, 0, 1}, 2);
    EXPECT_EQ(play_turn(), 0);
    EXPECT_EQ(std::memcmp(&before, &shown_question, sizeof before), 0);
    for (int s : answer_state)
        EXPECT_EQ(s, 0);
    EXPECT_EQ(level, 1);
}

// The fifty-fifty keeps the correct answer and one wrong one; the emptied slots no longer
// react, and the lifeline works once per game and again in the next game.
TEST_F(Game, FiftyFiftyOncePerGame) {
    for (int game = 0; game < 2; game++) {
        start();
        EXPECT_EQ(lifelines_used, 0);
        EXPECT_EQ(click(AREA_FIFTY), 0);
        EXPECT_EQ(lifelines_used, LIFELINE_FIFTY);
        int left = 0;
        for (int slot = 0; slot < 4; slot++)
            left += shown_question.answer_text[slot][0] != '\0';
        EXPECT_EQ(left, 2);
        EXPECT_NE(shown_question.answer_text[correct_slot][0], '\0');
        for (int slot = 0; slot < 4; slot++)
            if (!shown_question.answer_text[slot][0]) {
                EXPECT_EQ(click(slot), 0);
                EXPECT_EQ(answer_state[slot], 0);
            }
        ASSERT_EQ(answer(correct_slot), 0);
        // Used: a second click leaves all four answers of the new question.
        EXPECT_EQ(click(AREA_FIFTY), 0);
        for (int slot = 0; slot < 4; slot++)
            EXPECT_NE(shown_question.answer_text[slot][0], '\0');
        EXPECT_EQ(click(AREA_EXIT), 1);
    }
}

// The switch replaces the question without changing the level, never brings back a question
// of the tier, and brings back answers the fifty-fifty removed.
TEST_F(Game, SwitchQuestion) {
    start();
    std::set<std::string> seen = {shown_question.line1};
    ASSERT_EQ(answer(correct_slot), 0);
    seen.insert(shown_question.line1);
    EXPECT_EQ(click(AREA_FIFTY), 0);
    EXPECT_EQ(click(AREA_SWITCH), 0);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(lifelines_used, LIFELINE_FIFTY | LIFELINE_SWITCH);
    EXPECT_EQ(seen.count(shown_question.line1), 0u);
    for (int slot = 0; slot < 4; slot++)
        EXPECT_NE(shown_question.answer_text[slot][0], '\0');
    seen.insert(shown_question.line1);
    std::string now = shown_question.line1;
    EXPECT_EQ(click(AREA_SWITCH), 0); // used: nothing changes
    EXPECT_EQ(now, shown_question.line1);
    while (level < 5) {
        ASSERT_EQ(answer(correct_slot), 0);
        seen.insert(shown_question.line1);
    }
    EXPECT_EQ(seen.size(), 6u); // six different questions drawn in the tier
}

// The third lifeline is only marked used.
TEST_F(Game, ThirdLifelineOnlyMarksItself) {
    start();
    ShownQuestion before = shown_question;
    EXPECT_EQ(click(AREA_THIRD), 0);
    EXPECT_EQ(lifelines_used, LIFELINE_THIRD);
    EXPECT_EQ(std::memcmp(&before, &shown_question, sizeof before), 0);
}

// The next tier's file is read before the banner of rows 5 and 10.
TEST_F(Game, NextTierReadBeforeTheBanner) {
    start();
    climb_to(11);
    ASSERT_EQ(watch.tier_at_banner.size(), 10u);
    EXPECT_EQ(watch.tier_at_banner[3], 'L');
    EXPECT_EQ(watch.tier_at_banner[4], 'S'); // banner "flakac"
    EXPECT_EQ(watch.tier_at_banner[9], 'T'); // banner "Blavak"
}

// A finished game is followed at once by a new intro; Escape held there ends the program
// after new_game has finished, with status 0.
TEST_F(Game, MainLoopStartsTheNextGame) {
    watch.escape_at_intro = true;
    script_click(470, 10);        // leaves the first intro
    script_click_area(AREA_EXIT); // walks away at question 1
    EXPECT_EQ(main_loop(), 0);
    EXPECT_EQ(watch.intros, 2);
    EXPECT_EQ(watch.finals.size(), 1u);
    EXPECT_EQ(level, 1);
}

// Escape held before the loop starts: no game, no frame.
TEST_F(Game, EscapeHeldBeforeAnyGame) {
    key[KEY_ESC] = 1;
    EXPECT_EQ(main_loop(), 0);
    EXPECT_EQ(frames_shown(), 0);
    key[KEY_ESC] = 0;
}

// A tier file that cannot be read at question 6 ends the program with its message and
// status 1, and no question is drawn from it.
TEST_F(Game, MissingTierEndsInOrder) {
    std::string folder = make_game_folder({"stredne.txt"});
    ASSERT_EQ(headless_load(folder.c_str()), 0);
    script_reset();
    watch_start();
    start();
    climb_to(5);
    EXPECT_EXIT(
        {
            dup2(2, 1); // the library writes its message to standard output
            answer(correct_slot);
        },
        ::testing::ExitedWithCode(1), "Nemozem nacitat otazky zo suboru stredne.txt");
}
