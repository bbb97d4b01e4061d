// Soak: seeded random games, rules checked every turn, a flat heap (REBRIK_SOAK_GAMES games).
#include <gtest/gtest.h>
#include <filesystem>
#include <malloc.h>
#include <random>
#include "harness/harness.h"
#include "player/player.h"

// The heap in use: the arena and mapped blocks (none under AddressSanitizer: its leak check).
#define HEAP_IN_USE() (mallinfo2().uordblks + mallinfo2().hblkhd)

static std::mt19937 player; // the random player, apart from the game's own rand()
static int roll(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(player);
}

// A press of these buttons somewhere in `area` (-100: anywhere), with Escape one time in eight
// unless refused; returns the click area a wait takes from it (-2 Escape, -1 none).
static int press(int area, int buttons = 1, bool escape = true) {
    int x = roll(FRAME_W), y = roll(FRAME_H);
    while (area != -100 && hit_test(x, y) != area)
        x = roll(FRAME_W), y = roll(FRAME_H);
    escape = escape && roll(8) == 0;
    script_hold({x, y, 0, 0}, 1);
    script_hold({x, y, buttons, escape}, 1);
    script_hold({x, y, buttons, 0}, roll(3));
    script_hold({x, y, 0, 0}, 1);
    return escape ? AREA_ESCAPE : buttons & 1 ? hit_test(x, y) : AREA_NONE;
}

// One turn of presses, an answer correct as often as skill says; returns the level a game ending
// in this turn leaves (one past the row kept, the last safe row's after a wrong answer), else 0.
static int script_turn(int skill) {
    int kind = roll(10), area = press(kind < 3 ? (kind < 2 ? -100 : AREA_FIFTY + roll(4))
                                               : (roll(100) < skill ? correct_slot : roll(4)));
    if (area == AREA_EXIT)
        return level; // the last row answered stays marked
    if (area < 0 || area > 3 || !shown_question.answer_text[area][0])
        return 0;
    press(-100, 2 << roll(2)); // right and middle presses: no wait takes them
    bool yes = roll(5) > 0;
    press(yes ? AREA_ANO : AREA_NIE, 1, false);
    return !yes ? 0 : area != correct_slot ? level - (level - 1) % 5 : level == 15 ? 16 : 0;
}

// Random games keep the rules after every turn, each finished game is kept once, and the heap
// stays flat however many games are played.
TEST(Soak, RandomGamesKeepTheRules) {
    ASSERT_EQ(headless_load(game_folder().c_str()), 0);
    // The results kept grow a game each, in memory too: the soak's own, emptied before each game.
    const std::string own = scratch_folder("soak"), results = own + "/rebrik/vysledky.txt";
    setenv("XDG_DATA_HOME", own.c_str(), 1);
    const char *env = std::getenv("REBRIK_SOAK_GAMES");
    long games = env ? std::atoi(env) : 100, baseline = games / 3, at_baseline = 0, at_end = 0;
    player.seed(20240607u);
    std::srand(player());
    for (int g = 1; g <= games && !HasFailure(); g++) {
        script_reset();
        animations.clear();
        std::filesystem::remove(results);
        player_load();
        play_words("go"); // its agent presses at every animation
        at_end = HEAP_IN_USE();
        at_baseline = g == baseline ? at_end : at_baseline;
        int skill = roll(10) ? 25 * roll(3) : 97; // one player in ten climbs to the top
        for (int turn = 0, over = 0; !over; turn++) {
            ASSERT_LT(turn, 5000) << "a game that never ends";
            int end_level = script_turn(skill);
            over = play_turn();
            ASSERT_EQ(over ? level : 0, end_level) << "at level " << level;
            ASSERT_TRUE(over ||
                        shown_question.answer_text[correct_slot] ==
                            std::string(question_set[recent_questions[level % 5]].answers[0]));
        }
        ASSERT_EQ(player_results.games.size(), 1u) << "game " << g;
    }
    long growth = at_end - at_baseline;
    std::printf("soak: %ld games, heap %+ld bytes from game %ld\n", games, growth, baseline);
    EXPECT_LE(growth, 16 * 1024) << "the heap grows from game to game";
}
