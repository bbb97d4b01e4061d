// Soak: complete headless games of seeded random clicks anywhere, with the rules checked on
// every frame and after every turn, and the heap measured from game to game. REBRIK_SOAK_GAMES
// sets the number of games (300, or 100 under AddressSanitizer), REBRIK_SOAK_SEED the seed:
//   REBRIK_SOAK_GAMES=10000 build/tests/test_soak --gtest_filter=Soak.RandomGamesKeepTheRules
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include "harness/game_watch.h"
#include "harness/test_images.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps its own heap and count of it (GCC ships no header declaring this).
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
constexpr int DEFAULT_GAMES = 100;
static size_t heap_in_use(void) {
    return __sanitizer_get_current_allocated_bytes();
}
#else
constexpr int DEFAULT_GAMES = 300;
// Small blocks in the arena plus large ones (bitmaps) that malloc maps on their own.
static size_t heap_in_use(void) {
    return mallinfo2().uordblks + mallinfo2().hblkhd;
}
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

// Scripts a press of the buttons for `frames` frames (1 to 3 when 0) at a random point of click
// area `area`, found by the game's own hit test so that edges are as likely as middles, or
// anywhere. Returns the area pressed.
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

// Right and middle presses anywhere, which no wait of the board takes for a click.
static void other_buttons(int count) {
    for (int i = 0; i < count; i++)
        press(ANYWHERE, roll(2) ? 2 : 4);
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
    if (level < 0 || level > 16)
        ADD_FAILURE() << "level " << level;
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
    for (int s = 0; s < 4; s++)
        EXPECT_EQ(answer_state[s], 0);
    EXPECT_FALSE(fresh && drawn_in_tier[q]) << "question " << q << " twice at level " << level;
    drawn_in_tier[q] = true;
    EXPECT_EQ(_textmode, MASK_COLOR) << "text mode after a turn at level " << level;
}

// The answer aimed at: now and then a removed one, else the correct one as often as the
// player's skill says, else another still shown.
static int aim_answer(int skill) {
    int s = roll(4);
    if (!shown_question.answer_text[s][0] && roll(10) < 3)
        return s;
    while (s == correct_slot || !shown_question.answer_text[s][0])
        s = (s + 1) % 4;
    return roll(100) < skill ? correct_slot : s;
}

// Scripts one turn: right and middle presses, then Escape or a left click anywhere, on "ANO" or
// "NIE" with no prompt, on a lifeline (used ones too), the exit or an answer (removed ones too);
// at the prompt ignored clicks, presses and Escape, then "NIE" or "ANO" (sometimes held long).
// Returns the level a game this turn ends leaves (one past the row marked), else 0.
static int script_turn(int skill) {
    other_buttons(roll(3));
    int kind = roll(50);
    if (kind == 0)
        script_hold({0, 0, 0, 1}, 1);
    int area = kind == 0   ? AREA_ESCAPE
               : kind < 11 ? press(ANYWHERE, 1)
               : kind < 15 ? press(AREA_ANO + roll(2), 1)
               : kind < 21 ? press(AREA_FIFTY + roll(3), 1)
               : kind < 22 ? press(AREA_EXIT, 1)
                           : press(aim_answer(skill), 1);
    if (area == AREA_EXIT)
        return level; // the last row answered stays marked
    if (area < 0 || area > 3 || !shown_question.answer_text[area][0])
        return 0;
    for (int i = roll(5); i > 0; i--) {
        int other = roll(9) - 1, kind = roll(3); // any area but "ANO" and "NIE", or none
        if (kind == 0)
            press(other >= AREA_ANO ? other + 2 : other, 1);
        else
            kind == 1 ? other_buttons(1) : script_hold({0, 0, 0, 1}, 1 + roll(5));
    }
    if (roll(5) == 0)
        return press(AREA_NIE, 1) - AREA_NIE;
    press(AREA_ANO, 1, roll(10) ? 0 : 20 + roll(150));
    if (area != correct_slot)
        return level - (level - 1) % 5; // back to the last safe row
    return level == 15 ? 16 : 0;
}

// One complete game: the intro left with a click anywhere (or Escape), then turns until the
// game ends, each checked. Stores the heap in use once the game has started.
static void soak_game(int skill, size_t *heap) {
    script_reset();
    per_frame_agent = soak_frame;
    roll(20) ? (void)press(ANYWHERE, 1) : script_hold({0, 0, 0, 1}, 1);
    new_game();
    *heap = heap_in_use();
    std::memset(drawn_in_tier, 0, sizeof drawn_in_tier);
    check_board(true);
    for (int turn = 0; !::testing::Test::HasFailure(); turn++) {
        ASSERT_LT(turn, 5000) << "a game that never ends";
        int before = level, shown = recent_questions[level % 5];
        int end_level = script_turn(skill);
        int over = play_turn();
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

// Plays games from the folder with players of mixed skill (one in ten climbs to the top) until
// one breaks a rule. Returns the heap growth from the start of game `baseline` to the last.
static long soak_games(const std::string &dir, int games, int baseline, unsigned seed) {
    static const int SKILLS[10] = {25, 25, 25, 25, 50, 50, 50, 75, 75, 97};
    // The hard tier cut to six questions: five levels and one switch draw all of them.
    std::ifstream in(REBRIK_TEST_DATA_DIR "/game/tazke.txt");
    std::string line, text = "6\n";
    for (int i = 0; i <= 30 && std::getline(in, line); i++)
        text += i ? line + "\n" : "";
    std::ofstream(dir + "/tazke.txt") << text;
    EXPECT_EQ(headless_load(dir.c_str()), 0);
    player.seed(seed);
    std::srand(seed);
    size_t at_baseline = 0, at_end = 0;
    for (int g = 1; g <= games && !::testing::Test::HasFailure(); g++) {
        soak_game(SKILLS[roll(10)], &at_end);
        at_baseline = g == baseline ? at_end : at_baseline;
    }
    std::printf("soak: %d games, heap %+ld bytes from game %d\n", games,
                long(at_end) - long(at_baseline), baseline);
    std::filesystem::remove_all(dir);
    return long(at_end) - long(at_baseline);
}

// Random games keep every rule after every turn and on every frame, and the heap in use at the
// start of a game does not grow from game 100 (a third of a shorter run) to the last.
TEST(Soak, RandomGamesKeepTheRules) {
    int games = env_int("REBRIK_SOAK_GAMES", DEFAULT_GAMES);
    ASSERT_GE(games, 1);
    EXPECT_LE(soak_games(make_game_folder(), games, games >= 300 ? 100 : (games + 2) / 3,
                         unsigned(env_int("REBRIK_SOAK_SEED", 20240607))),
              16 * 1024)
        << "the heap grows from game to game";
}

// Pictures that spoil the look (a 150-wide lifeline sheet whose click areas overlap, 22-pixel
// rows of a 90-high sheet, an intro picture wider than the play area) still play whole games.
TEST(Soak, OddPicturesPlayWholeGames) {
    TestImageSizes odd;
    odd.sheet_w = 150, odd.sheet_h = 90, odd.title_w = 520;
    std::string dir = write_test_images(odd);
    for (const char *bank : {"/lahke.txt", "/stredne.txt"})
        std::filesystem::copy_file(REBRIK_TEST_DATA_DIR "/game" + std::string(bank), dir + bank);
    soak_games(dir, 15, 1, 7);
}
