// Soak: seeded random games, the rules checked after every turn and the heap measured from game
// to game. REBRIK_SOAK_GAMES sets the number of games, REBRIK_SOAK_SEED the seed.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include "harness/harness.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#define HEAP_IN_USE() __sanitizer_get_current_allocated_bytes()
constexpr int GAMES = 40;
#else
#define HEAP_IN_USE() (mallinfo2().uordblks + mallinfo2().hblkhd) // arena and mapped blocks
constexpr int GAMES = 100;
#endif

static std::mt19937 player; // the random player, apart from the game's own rand()
static int roll(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(player);
}

// A press of these buttons somewhere in `area` (-100: anywhere), with Escape one time in eight
// when allowed; returns the click area a wait takes from it (-2 Escape, -1 none).
static int press(int area, int buttons, bool escape = false) {
    int x, y;
    do
        x = roll(FRAME_W), y = roll(FRAME_H);
    while (area != -100 && hit_test(x, y) != area);
    escape = escape && roll(8) == 0;
    script_hold({x, y, 0, 0}, 1);
    script_hold({x, y, buttons, escape}, 1);
    script_hold({x, y, buttons, 0}, roll(3));
    script_hold({x, y, 0, 0}, 1);
    return escape ? AREA_ESCAPE : buttons & 1 ? hit_test(x, y) : AREA_NONE;
}

// One turn of presses, an answer correct as often as skill says; returns the level a game
// ending in this turn leaves (one past the row kept), else 0.
static int script_turn(int skill) {
    int kind = roll(10);
    int area = kind < 2   ? press(-100, 1, true)
               : kind < 3 ? press(AREA_FIFTY + roll(4), 1, true)
                          : press(roll(100) < skill ? correct_slot : roll(4), 1, true);
    if (area == AREA_EXIT)
        return level; // the last row answered stays marked
    if (area < 0 || area > 3 || !shown_question.answer_text[area][0])
        return 0;
    press(-100, 2 << roll(2), true); // right and middle presses: no wait takes them
    bool yes = roll(5) > 0;
    press(yes ? AREA_ANO : AREA_NIE, 1);
    if (yes && area != correct_slot)
        return level - (level - 1) % 5; // back to the last safe row
    return yes && level == 15 ? 16 : 0;
}

// Random games keep the rules after every turn, and the heap stays flat.
TEST(Soak, RandomGamesKeepTheRules) {
    std::string dir = game_folder(), line, text = "6\n";
    std::ifstream in(dir + "/tazke.txt"); // cut to six: a switch there draws the last one
    for (int i = 0; i <= 30 && std::getline(in, line); i++)
        text += i ? line + "\n" : "";
    std::ofstream(dir + "/tazke.txt") << text;
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    const char *env = std::getenv("REBRIK_SOAK_GAMES"), *seed = std::getenv("REBRIK_SOAK_SEED");
    int games = env ? std::atoi(env) : GAMES, baseline = games / 3;
    player.seed(seed ? unsigned(std::atoi(seed)) : 20240607u);
    std::srand(player());
    size_t at_baseline = 0, at_end = 0;
    for (int g = 1; g <= games && !HasFailure(); g++) {
        script_reset();
        animations.clear();
        per_frame_agent = animation_agent; // presses at every animation
        press(-100, 1);
        new_game();
        at_end = HEAP_IN_USE();
        at_baseline = g == baseline ? at_end : at_baseline;
        int skill = roll(10) ? 25 * roll(3) : 97; // one player in ten climbs to the top
        for (int turn = 0; !HasFailure(); turn++) {
            ASSERT_LT(turn, 5000) << "a game that never ends";
            int end_level = script_turn(skill), over = play_turn();
            ASSERT_EQ(over, end_level > 0) << "at level " << level;
            if (over) {
                EXPECT_EQ(level, end_level);
                break;
            }
            EXPECT_STREQ(shown_question.answer_text[correct_slot],
                         question_set[recent_questions[level % 5]].answers[0]);
        }
    }
    long growth = long(at_end) - long(at_baseline);
    std::printf("soak: %d games, heap %+ld bytes from game %d\n", games, growth, baseline);
    EXPECT_LE(growth, 16 * 1024) << "the heap grows from game to game";
    std::filesystem::remove_all(dir);
}
