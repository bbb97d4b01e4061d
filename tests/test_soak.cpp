// Soak: seeded games of random presses anywhere, the rules checked on every frame and turn and
// the heap measured from game to game. REBRIK_SOAK_GAMES sets the number of games (100, or 40
// under AddressSanitizer), REBRIK_SOAK_SEED the seed.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
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

// A press of these buttons somewhere in `area` (-100: anywhere), Escape now and then when
// allowed; returns the click area a wait takes from it (-2 Escape, -1 none).
static int press(int area, int buttons, bool escape = false) {
    int x, y;
    do
        x = roll(FRAME_W), y = roll(FRAME_H);
    while (area != -100 && hit_test(x, y) != area);
    escape = escape && roll(8) == 0;
    script_hold({x, y, 0, 0}, 1);
    script_hold({x, y, buttons, escape}, 1); // Escape on the press's first frame only
    script_hold({x, y, buttons, 0}, roll(3));
    script_hold({x, y, 0, 0}, 1);
    return escape ? AREA_ESCAPE : buttons & 1 ? hit_test(x, y) : AREA_NONE;
}

// Every frame: ten ticks pass; no emptied answer is selected; the level stays in range. An
// animation (transparent text) is pressed at in its fade-in and once after frame 101: a banner
// takes neither, a final screen the second.
static void soak_frame(void) {
    static int animated;
    tick_count += 9;
    for (int s = 0; s < 4; s++)
        EXPECT_FALSE(answer_state[s] && !shown_question.answer_text[s][0]) << level;
    EXPECT_TRUE(level >= 0 && level <= 16) << level;
    animated = _textmode == -1 ? animated + 1 : 0;
    if (animated == 50 || animated == 102)
        press(-100, 1 << roll(3), true);
}

// One turn: a press anywhere, on a lifeline or the exit, or on an answer (the correct one as
// often as skill says) then noise and "NIE" or "ANO". Returns the level a game ending in this
// turn leaves (one past the row kept), else 0.
static int script_turn(int skill) {
    for (int i = roll(3); i > 0; i--) // right and middle presses: no wait takes them for a click
        press(-100, 2 << roll(2));
    int kind = roll(10);
    int area = kind < 2   ? press(-100, 1, true)
               : kind < 3 ? press(AREA_FIFTY + roll(4), 1, true)
                          : press(roll(100) < skill ? correct_slot : roll(4), 1, true);
    if (area == AREA_EXIT)
        return level; // the last row answered stays marked
    if (area < 0 || area > 3 || !shown_question.answer_text[area][0])
        return 0;
    for (int i = roll(4); i > 0; i--) { // ignored at the prompt: any area but "ANO" and "NIE"
        int other = roll(9) - 1;
        press(other >= AREA_ANO ? other + 2 : other, 1 << roll(3), true);
    }
    bool yes = roll(5) > 0;
    press(yes ? AREA_ANO : AREA_NIE, 1);
    if (yes && area != correct_slot)
        return level - (level - 1) % 5; // back to the last safe row
    return yes && level == 15 ? 16 : 0;
}

// Random games keep every rule on every frame and after every turn, and the heap stays flat.
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
        per_frame_agent = soak_frame;
        press(-100, 1);
        new_game();
        at_end = HEAP_IN_USE();
        at_baseline = g == baseline ? at_end : at_baseline;
        int skill = roll(10) ? 25 * roll(3) : 97; // one player in ten climbs to the top
        for (int turn = 0; !HasFailure(); turn++) {
            ASSERT_LT(turn, 5000) << "a game that never ends";
            int before = level, end_level = script_turn(skill), over = play_turn();
            EXPECT_LE(script_frames_left(), 3) << "the turn did not take its presses";
            EXPECT_EQ(over, end_level > 0) << "at level " << before;
            EXPECT_EQ(_textmode, MASK_COLOR);
            if (over) {
                EXPECT_EQ(level, end_level);
                break;
            }
            const QuestionRecord &r = question_set[recent_questions[level % 5]];
            EXPECT_EQ(r.line1[0], "LST"[(level - 1) / 5]) << "tier of level " << level;
            EXPECT_STREQ(shown_question.line1, r.line1);
            EXPECT_STREQ(shown_question.answer_text[correct_slot], r.answers[0]);
            EXPECT_EQ(answer_state[0] | answer_state[1] | answer_state[2] | answer_state[3], 0);
        }
    }
    long growth = long(at_end) - long(at_baseline);
    std::printf("soak: %d games, heap %+ld bytes from game %d\n", games, growth, baseline);
    EXPECT_LE(growth, 16 * 1024) << "the heap grows from game to game";
    std::filesystem::remove_all(dir);
}
