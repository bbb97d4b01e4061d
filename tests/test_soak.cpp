// Soak: complete headless games of seeded random clicks anywhere, with the rules checked on
// every frame and after every turn, and the heap measured from game to game. REBRIK_SOAK_GAMES
// sets the number of games (300, or 100 under AddressSanitizer), REBRIK_SOAK_SEED the seed:
//   REBRIK_SOAK_GAMES=10000 build/tests/test_soak --gtest_filter=Soak.RandomGamesKeepTheRules
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "questions/questions.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps its own heap and count of it (GCC ships no header declaring this).
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#define HEAP_IN_USE() __sanitizer_get_current_allocated_bytes()
constexpr int DEFAULT_GAMES = 100;
#else
// Small blocks in the arena plus large ones (bitmaps) that malloc maps on their own.
#define HEAP_IN_USE() (mallinfo2().uordblks + mallinfo2().hblkhd)
constexpr int DEFAULT_GAMES = 300;
#endif

static int env_int(const char *name, int fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

static std::mt19937 player; // the random player, apart from the game's own rand()

static int roll(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(player);
}

constexpr int ANYWHERE = -100;

// Scripts a press of the buttons for `frames` frames (1 to 3 when 0) anywhere or at a random
// point the game's own hit test puts in `area` (edges as likely as middles); returns its area.
static int press(int area, int buttons, int frames = 0) {
    int x, y, tries = 0;
    do
        x = roll(FRAME_W), y = roll(FRAME_H);
    while (area != ANYWHERE && hit_test(x, y) != area && ++tries < 100000);
    script_hold({x, y, 0, 0}, 1);
    script_hold({x, y, buttons, 0}, frames ? frames : 1 + roll(3));
    script_hold({x, y, 0, 0}, 1);
    return hit_test(x, y);
}

static int animated_frames; // frames in a row with transparent text: a banner or final screen
static bool pressed;        // the animation under way has had its press

// Every frame: time runs at ten ticks a frame, no emptied answer is ever selected, the level
// stays in range; after 100 frames of a banner or final screen any button is pressed, now and
// then after Escape: a banner reads neither, the final screen only the buttons.
static void soak_frame(void) {
    tick_count += 9;
    for (int s = 0; s < 4; s++)
        if (answer_state[s] && !shown_question.answer_text[s][0])
            ADD_FAILURE() << "removed answer " << s << " selected at level " << level;
    EXPECT_TRUE(level >= 0 && level <= 16) << "level " << level;
    animated_frames = _textmode == -1 ? animated_frames + 1 : 0;
    pressed = pressed && animated_frames > 0;
    if (!pressed && animated_frames > 101 && script_frames_left() == 0) {
        pressed = true;
        script_hold({0, 0, 0, 1}, roll(4) ? 0 : 1 + roll(10));
        press(ANYWHERE, 1 << roll(3));
    }
}

static bool drawn_in_tier[256];

// After a turn of a game that goes on: the board holds the record the history names for this
// level, from this level's tier, with its answers[0] in correct_slot; nothing is selected; a
// newly drawn question was not drawn before in its tier; text is drawn on MASK_COLOR again.
static void check_board(bool fresh) {
    int q = recent_questions[level % 5];
    ASSERT_TRUE(level >= 1 && level <= 15 && q >= 0 && q < question_count) << level << " " << q;
    ASSERT_TRUE(correct_slot >= 0 && correct_slot < 4) << correct_slot;
    const QuestionRecord &r = question_set[q];
    EXPECT_EQ(r.line1[0], "LST"[(level - 1) / 5]) << "tier file of level " << level;
    EXPECT_STREQ(shown_question.line1, r.line1);
    EXPECT_STREQ(shown_question.answer_text[correct_slot], r.answers[0]);
    EXPECT_EQ(answer_state[0] | answer_state[1] | answer_state[2] | answer_state[3], 0);
    EXPECT_FALSE(fresh && drawn_in_tier[q]) << "question " << q << " twice at level " << level;
    drawn_in_tier[q] = true;
    EXPECT_EQ(_textmode, MASK_COLOR) << "text mode after a turn at level " << level;
}

// Scripts one turn: Escape or a left click anywhere, on "ANO" or "NIE" with no prompt, on a
// lifeline (used ones too), the exit or an answer (removed ones too, the correct one as often as
// the skill says); at the prompt ignored presses and Escape, then "NIE" or "ANO" (sometimes held
// long). Returns the level a game this turn ends leaves (one past the row marked), else 0.
static int script_turn(int skill) {
    for (int i = roll(3); i > 0; i--) // right and middle presses: no wait takes them for a click
        press(ANYWHERE, 2 << roll(2));
    int kind = roll(50);
    if (kind == 0)
        script_hold({0, 0, 0, 1}, 1);
    int area = kind == 0   ? AREA_ESCAPE
               : kind < 11 ? press(ANYWHERE, 1)
               : kind < 15 ? press(AREA_ANO + roll(2), 1)
               : kind < 21 ? press(AREA_FIFTY + roll(3), 1)
               : kind < 22 ? press(AREA_EXIT, 1)
                           : press(roll(100) < skill ? correct_slot : roll(4), 1);
    if (area == AREA_EXIT)
        return level; // the last row answered stays marked
    if (area < 0 || area > 3 || !shown_question.answer_text[area][0])
        return 0;
    for (int i = roll(5); i > 0; i--) {
        int other = roll(9) - 1; // any area but "ANO" and "NIE", or none
        if (roll(3))
            press(other >= AREA_ANO ? other + 2 : other, 1 << roll(3));
        else
            script_hold({0, 0, 0, 1}, 1 + roll(5));
    }
    bool yes = roll(5) > 0;
    press(yes ? AREA_ANO : AREA_NIE, 1, yes && roll(10) == 0 ? 20 + roll(150) : 0);
    if (yes && area != correct_slot)
        return level - (level - 1) % 5; // back to the last safe row
    return yes && level == 15 ? 16 : 0;
}

// One complete game: the intro left with a click anywhere (or Escape), then turns until the
// game ends, each checked. Stores the heap in use once the game has started.
static void soak_game(int skill, size_t *heap) {
    script_reset();
    per_frame_agent = soak_frame;
    roll(20) ? (void)press(ANYWHERE, 1) : script_hold({0, 0, 0, 1}, 1);
    new_game();
    *heap = HEAP_IN_USE();
    std::memset(drawn_in_tier, 0, sizeof drawn_in_tier);
    check_board(true);
    for (int turn = 0; !::testing::Test::HasFailure(); turn++) {
        ASSERT_LT(turn, 5000) << "a game that never ends";
        int before = level, shown = recent_questions[level % 5];
        int end_level = script_turn(skill), over = play_turn();
        EXPECT_LE(script_frames_left(), 3) << "the turn did not take the clicks it was given";
        EXPECT_EQ(over, end_level > 0) << "at level " << before;
        if (over) {
            EXPECT_EQ(level, end_level);
            EXPECT_EQ(_textmode, MASK_COLOR) << "text mode after the final screen";
            return;
        }
        if (level != before && level % 5 == 1)
            std::memset(drawn_in_tier, 0, sizeof drawn_in_tier);
        check_board(level != before || recent_questions[level % 5] != shown);
    }
}

// Random games keep every rule on every frame and after every turn, and the heap stays flat.
TEST(Soak, RandomGamesKeepTheRules) {
    std::string dir = make_game_folder(), line, text = "6\n";
    std::ifstream in(REBRIK_TEST_DATA_DIR "/game/tazke.txt"); // cut to six: a switch draws all
    for (int i = 0; i <= 30 && std::getline(in, line); i++)
        text += i ? line + "\n" : "";
    std::ofstream(dir + "/tazke.txt") << text;
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    int games = env_int("REBRIK_SOAK_GAMES", DEFAULT_GAMES);
    int baseline = games >= 300 ? 100 : (games + 2) / 3; // heap measured from this game on
    player.seed(unsigned(env_int("REBRIK_SOAK_SEED", 20240607)));
    std::srand(player());
    size_t at_baseline = 0, at_end = 0;
    for (int g = 1; g <= games && !HasFailure(); g++) {
        soak_game(roll(10) ? 25 * roll(3) : 97, &at_end); // one player in ten climbs to the top
        at_baseline = g == baseline ? at_end : at_baseline;
    }
    ASSERT_FALSE(HasFailure()) << "the heap is compared over games that keep the rules";
    long growth = long(at_end) - long(at_baseline);
    std::printf("soak: %d games, heap %+ld bytes from game %d\n", games, growth, baseline);
    EXPECT_LE(growth, 16 * 1024) << "the heap grows from game to game";
    std::filesystem::remove_all(dir);
}
