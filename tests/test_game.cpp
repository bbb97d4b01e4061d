// Complete headless games: the real rules, question bank and drawing, with scripted clicks and
// time, checked by what the frames show (banner and final titles, the marked ladder row).
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "harness/test_images.h"
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

    // A new game, its intro left with a click on empty background.
    void start(void) {
        watch_start();
        script_click(470, 10);
        new_game();
    }

    int click(int area) {
        script_click_area(area);
        return play_turn();
    }

    // Chooses an answer and confirms it; returns play_turn's result.
    int answer(int slot) {
        script_click_area(slot);
        script_click_area(AREA_ANO);
        return play_turn();
    }

    void climb_to(int question) {
        while (level < question)
            ASSERT_EQ(answer(correct_slot), 0);
    }

    // The final screen seen once, with this title and this ladder row marked under it.
    void expect_final(const char *title, int row) {
        ASSERT_EQ(watch.finals.size(), 1u);
        EXPECT_EQ(watch.finals[0], title);
        EXPECT_EQ(watch.final_marks[0], row);
    }
};

// Fifteen correct answers: a banner with the row just reached for rows 1 to 14, none after
// 15, and the final screen shows "milionar" with the marker on the top row. The next tier's
// file is read before the banners of rows 5 and 10.
TEST_F(Game, WinningAllFifteen) {
    start();
    climb_to(15);
    EXPECT_EQ(answer(correct_slot), 1);
    ASSERT_EQ(watch.banners.size(), 14u);
    for (int row = 1; row <= 14; row++)
        EXPECT_EQ(watch.banners[row - 1], level_titles[row]);
    EXPECT_EQ(std::string(watch.tier_at_banner.begin(), watch.tier_at_banner.end()), "LLLLSSSSST"
                                                                                     "TTT"
                                                                                     "T");
    expect_final("milionar", 15);
}

// A wrong answer falls back to the last safe row below the question (the row being played is
// not yet safe); walking away keeps the last row answered.
TEST_F(Game, HowAGameEnds) {
    struct Case {
        int question;
        bool walk_away;
        const char *title;
        int row;
    };
    for (Case c :
         {Case{1, false, "si nula", 0}, Case{5, false, "si nula", 0}, Case{6, false, "flakac", 5},
          Case{10, false, "flakac", 5}, Case{15, false, "Blavak", 10}, Case{1, true, "si nula", 0},
          Case{7, true, "kysucan", 6}, Case{15, true, "Mudrlant", 14}}) {
        SCOPED_TRACE(c.question);
        start();
        climb_to(c.question);
        EXPECT_EQ(c.walk_away ? click(AREA_EXIT) : answer((correct_slot + 1) % 4), 1);
        expect_final(c.title, c.row);
    }
}

// While the prompt waits, answers, lifelines, the exit button, empty space and Escape do
// nothing; "NIE" then restores the same question with nothing selected and the prompt gone.
// With no prompt, "ANO", "NIE", empty space and Escape change nothing.
TEST_F(Game, ConfirmationPrompt) {
    start();
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
    EXPECT_STREQ(before.line1, shown_question.line1);
    for (int slot = 0; slot < 4; slot++)
        EXPECT_STREQ(before.answer_text[slot], shown_question.answer_text[slot]);
    EXPECT_TRUE(level == 1 && lifelines_used == 0 && watch.finals.empty());
    for (int s : answer_state)
        EXPECT_EQ(s, 0);
    EXPECT_EQ(getpixel(scene_layer, 250, 172), getpixel(background_image, 250, 172));
}

// The fifty-fifty keeps the correct answer and one wrong one; emptied slots no longer react;
// the third lifeline only marks itself; each works once per game and again in the next game.
TEST_F(Game, LifelinesOncePerGame) {
    for (int game = 0; game < 2; game++) {
        start();
        EXPECT_EQ(click(AREA_FIFTY) + click(AREA_THIRD), 0);
        EXPECT_EQ(lifelines_used, LIFELINE_FIFTY | LIFELINE_THIRD);
        int left = 0;
        for (int slot = 0; slot < 4; slot++) {
            left += shown_question.answer_text[slot][0] != '\0';
            if (!shown_question.answer_text[slot][0]) {
                EXPECT_TRUE(click(slot) == 0 && answer_state[slot] == 0);
            }
        }
        EXPECT_EQ(left, 2);
        EXPECT_NE(shown_question.answer_text[correct_slot][0], '\0');
        ASSERT_EQ(answer(correct_slot), 0);
        EXPECT_EQ(click(AREA_FIFTY), 0); // used: all four answers of the new question stay
        for (int slot = 0; slot < 4; slot++)
            EXPECT_NE(shown_question.answer_text[slot][0], '\0');
        EXPECT_EQ(click(AREA_EXIT), 1);
    }
}

// The switch replaces the question without changing the level, brings back answers the
// fifty-fifty removed, works once, and no question comes back within the tier.
TEST_F(Game, SwitchQuestion) {
    start();
    std::set<std::string> seen = {shown_question.line1};
    ASSERT_EQ(answer(correct_slot), 0);
    seen.insert(shown_question.line1);
    EXPECT_EQ(click(AREA_FIFTY) + click(AREA_SWITCH), 0);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(seen.count(shown_question.line1), 0u);
    for (int slot = 0; slot < 4; slot++)
        EXPECT_NE(shown_question.answer_text[slot][0], '\0');
    seen.insert(shown_question.line1);
    std::string now = shown_question.line1;
    EXPECT_EQ(click(AREA_SWITCH), 0);
    EXPECT_EQ(now, shown_question.line1);
    while (level < 5) {
        ASSERT_EQ(answer(correct_slot), 0);
        seen.insert(shown_question.line1);
    }
    EXPECT_EQ(seen.size(), 6u);
}

// Escape held before the loop: no game, no frame. A finished game is followed at once by a new
// intro; Escape held there ends the program after new_game has finished, with status 0.
TEST_F(Game, MainLoop) {
    key[KEY_ESC] = 1;
    EXPECT_EQ(main_loop(), 0);
    EXPECT_EQ(frames_shown(), 0);
    script_reset();
    watch_start();
    watch.escape_at_intro = true;
    script_click(470, 10);
    script_click_area(AREA_EXIT);
    EXPECT_EQ(main_loop(), 0);
    EXPECT_EQ(watch.intros, 2);
    EXPECT_EQ(watch.finals.size(), 1u);
}

// A tier file that cannot be read at question 6 ends the program with its message and status
// 1; no question is drawn from it.
TEST_F(Game, MissingTierEndsInOrder) {
    std::string folder = make_game_folder({"stredne.txt"});
    ASSERT_EQ(headless_load(folder.c_str()), 0);
    start();
    climb_to(5);
    EXPECT_EXIT(
        {
            dup2(2, 1); // the library writes its message to standard output
            answer(correct_slot);
        },
        ::testing::ExitedWithCode(1), "Nemozem nacitat otazky zo suboru stredne.txt");
}

// Pictures the game accepts though they spoil the look (a sheet 150 wide and 90 high, whose
// click areas overlap, and an intro picture wider than the play area) play a whole game.
TEST_F(Game, OddPicturesPlay) {
    TestImageSizes odd;
    odd.sheet_w = 150;
    odd.sheet_h = 90;
    odd.title_w = 520;
    std::string dir = write_test_images(odd);
    for (const char *tier : {"lahke.txt", "stredne.txt", "tazke.txt"})
        std::filesystem::copy_file(std::string(REBRIK_TEST_DATA_DIR) + "/game/" + tier,
                                   dir + "/" + tier);
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    start();
    EXPECT_EQ(click(AREA_FIFTY) + click(AREA_SWITCH) + click(AREA_THIRD), 0);
    EXPECT_EQ(lifelines_used, LIFELINE_FIFTY | LIFELINE_SWITCH | LIFELINE_THIRD);
    climb_to(6);
    EXPECT_EQ(click(AREA_EXIT), 1);
    expect_final("flakac", 5);
    remove_test_images(dir);
}
