// Soak: complete headless games of seeded random clicks anywhere, with the rules' invariants
// checked after every turn and on every frame, and the heap measured from game to game.
//
// REBRIK_SOAK_GAMES sets the number of games (300 by default, 100 under AddressSanitizer) and
// REBRIK_SOAK_SEED the seed. The full soak:
//   REBRIK_SOAK_GAMES=10000 build/tests/test_soak --gtest_filter=Soak.RandomGamesKeepTheRules
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <utility>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "harness/test_images.h"
#include "questions/questions.h"

#if defined(__SANITIZE_ADDRESS__)
constexpr int DEFAULT_GAMES = 100;
// AddressSanitizer keeps its own heap: ask it for the bytes in use (declared here, as GCC ships
// no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
static size_t heap_in_use(void) {
    return __sanitizer_get_current_allocated_bytes();
}
#else
constexpr int DEFAULT_GAMES = 300;
// Small blocks in the arena plus large ones (bitmaps) that malloc maps on their own.
static size_t heap_in_use(void) {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}
#endif

namespace fs = std::filesystem;

static int env_int(const char *name, int fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

// The random player, apart from the game's own rand().
static std::mt19937 player;

static int roll(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(player);
}

static bool chance(int percent) {
    return roll(100) < percent;
}

struct Point {
    int x, y;
};

static Point anywhere(void) {
    return {roll(FRAME_W), roll(FRAME_H)};
}

// A random point whose click area is `area`, found by asking the game's own hit test, so
// every edge of an area is as likely as its middle. Anywhere when no such point turns up.
static Point point_in(int area) {
    for (int tries = 0; tries < 100000; tries++) {
        Point p = anywhere();
        if (hit_test(p.x, p.y) == area)
            return p;
    }
    return anywhere();
}

// A press of the given buttons for `frames` frames at p, with all up the frame before and after.
static void press(Point p, int buttons, int frames) {
    script_hold({p.x, p.y, 0, 0}, 1);
    script_hold({p.x, p.y, buttons, 0}, frames);
    script_hold({p.x, p.y, 0, 0}, 1);
}

static void hold_escape(int frames) {
    Point p = anywhere();
    script_hold({p.x, p.y, 0, 1}, frames);
}

// Right and middle presses anywhere: no wait of the board takes them for a click.
static void other_buttons(int count) {
    for (int i = 0; i < count; i++)
        press(anywhere(), chance(50) ? 2 : 4, 1 + roll(3));
}

// What the soak saw, so that it can tell it did press on what it meant to.
struct Tally {
    int games, turns, wins, walks, falls, climbs, top_level;
    int on_removed, on_used_lifeline, confirm_without_prompt, escape_in_prompt, escape_on_board;
    int withdrawn, held_into_end, right_dismissals, escape_at_final;
};
static Tally tally;

// The end of a game the player's clicks lead to; the frame agent dismisses its final screen.
static bool final_expected;
static bool final_dismissed;
static int animated_frames; // frames in a row with transparent text: a banner or final screen

static void dismiss_final_screen(void) {
    int kind = roll(4);
    if (kind == 3) {
        hold_escape(1 + roll(10)); // the final screen does not read the keyboard
        tally.escape_at_final++;
    }
    int buttons = kind == 0 ? 1 : kind == 2 ? 4 : 2;
    tally.right_dismissals += buttons == 2;
    press(anywhere(), buttons, 1 + roll(3));
}

// Called on every frame: time runs at ten ticks a frame (each 30-tick phase of the blink takes
// three frames), nothing emptied is ever selected, and the final screen is dismissed once its
// fade-in is over.
static void soak_frame(void) {
    tick_count += 9;
    for (int s = 0; s < 4; s++)
        if (answer_state[s] == 1 && !shown_question.answer_text[s][0])
            ADD_FAILURE() << "removed answer " << s << " selected at level " << level;
    if (level < 0 || level > 16)
        ADD_FAILURE() << "level " << level;
    animated_frames = _textmode == -1 ? animated_frames + 1 : 0;
    if (final_expected && !final_dismissed && animated_frames > 101 && script_frames_left() == 0) {
        final_dismissed = true;
        dismiss_final_screen();
    }
}

// The text mode of play: a character cell drawn now has a MASK_COLOR background.
static bool text_cells_transparent(void) {
    static BITMAP *cell = create_bitmap_ex(32, 8, 8);
    clear_to_color(cell, 0);
    textprintf_ex(cell, font, 0, 0, makecol(255, 255, 255), _textmode, "%s", " ");
    return getpixel(cell, 0, 0) == MASK_COLOR && getpixel(cell, 7, 7) == MASK_COLOR;
}

// Questions put on the board in the tier being played.
static bool drawn_in_tier[256];

static int board_question(void) {
    return recent_questions[level % 5];
}

// Checks the board of a game that goes on: the question on it is the record the history names,
// with the correct answer in correct_slot and the wrong ones (or nothing) elsewhere.
static void check_board(void) {
    ASSERT_GE(level, 1);
    ASSERT_LE(level, 15);
    ASSERT_NE(question_set, nullptr);
    ASSERT_LE(question_count, 256);
    int q = board_question();
    ASSERT_GE(q, 0);
    ASSERT_LT(q, question_count);
    const QuestionRecord &r = question_set[q];
    EXPECT_EQ(r.line1[0], "LST"[(level - 1) / 5]) << "tier file of level " << level;
    EXPECT_STREQ(shown_question.line1, r.line1);
    ASSERT_EQ(question_lines, r.line_count);
    if (r.line_count == 2) {
        EXPECT_STREQ(shown_question.line2, r.line2);
    }
    ASSERT_GE(correct_slot, 0);
    ASSERT_LE(correct_slot, 3);
    EXPECT_STREQ(shown_question.answer_text[correct_slot], r.answers[0]);
    int removed = 0;
    bool used[4] = {true, false, false, false};
    for (int s = 0; s < 4; s++) {
        EXPECT_EQ(answer_state[s], 0);
        if (s == correct_slot)
            continue;
        if (!shown_question.answer_text[s][0]) {
            removed++;
            continue;
        }
        int k = 1;
        while (k < 4 && (used[k] || std::strcmp(r.answers[k], shown_question.answer_text[s])))
            k++;
        EXPECT_LT(k, 4) << "slot " << s << " holds no wrong answer of the question";
        if (k < 4)
            used[k] = true;
    }
    EXPECT_TRUE(removed == 0 || removed == 2) << removed << " answers removed";
    EXPECT_TRUE(text_cells_transparent()) << "text mode after a turn at level " << level;
}

// A question newly on the board must not have been there before in its tier.
static void check_fresh_draw(void) {
    int q = board_question();
    ASSERT_GE(q, 0);
    ASSERT_LT(q, question_count);
    EXPECT_FALSE(drawn_in_tier[q]) << "question " << q << " drawn twice at level " << level;
    drawn_in_tier[q] = true;
}

// What a turn will do, foreseen from the clicks scripted for it.
enum Outcome { NOTHING, FIFTY, SWITCH, THIRD, CLIMB, END };

// The state a turn that does nothing must leave as it found it: the texts on the board (only
// up to their NUL, as the loader leaves the rest of a field unset), the correct slot, the level,
// the lifelines and the history.
struct Board {
    std::string texts[7];
    int correct, level, lifelines, recent[5];
};

static Board board_now(void) {
    const ShownQuestion &s = shown_question;
    Board b = {{s.line1, question_lines == 2 ? s.line2 : "", s.answer_text[0], s.answer_text[1],
                s.answer_text[2], s.answer_text[3], std::to_string(question_lines)},
               correct_slot,
               level,
               lifelines_used,
               {}};
    std::memcpy(b.recent, recent_questions, sizeof b.recent);
    return b;
}

static bool same_board(const Board &a, const Board &b) {
    for (int i = 0; i < 7; i++)
        if (a.texts[i] != b.texts[i])
            return false;
    return a.correct == b.correct && a.level == b.level && a.lifelines == b.lifelines &&
           std::memcmp(a.recent, b.recent, sizeof a.recent) == 0;
}

// The answer the player aims at: now and then a removed one, else the correct one as often as
// this player's skill says, else another answer still shown.
static int aim_answer(int skill) {
    int removed[4], n = 0, others[4], m = 0;
    for (int s = 0; s < 4; s++) {
        if (!shown_question.answer_text[s][0])
            removed[n++] = s;
        else if (s != correct_slot)
            others[m++] = s;
    }
    if (n > 0 && chance(30))
        return removed[roll(n)];
    return chance(skill) || m == 0 ? correct_slot : others[roll(m)];
}

// Clicks, right and middle presses and Escape while the prompt waits, none on "ANO" or "NIE";
// then "ANO" (sometimes held down long after) or "NIE". Returns 1 for "ANO".
static int script_prompt(void) {
    for (int i = roll(5); i > 0; i--) {
        int kind = roll(3);
        if (kind == 0) {
            Point p = anywhere();
            while (hit_test(p.x, p.y) == AREA_ANO || hit_test(p.x, p.y) == AREA_NIE)
                p = anywhere();
            press(p, 1, 1 + roll(3));
        } else if (kind == 1) {
            other_buttons(1);
        } else {
            hold_escape(1 + roll(5));
            tally.escape_in_prompt++;
        }
    }
    if (chance(20)) {
        press(point_in(AREA_NIE), 1, 1 + roll(3));
        tally.withdrawn++;
        return 0;
    }
    bool long_hold = chance(10);
    tally.held_into_end += long_hold;
    press(point_in(AREA_ANO), 1, long_hold ? 20 + roll(150) : 1 + roll(3));
    return 1;
}

// What a turn will do and, when it ends the game, the level the final screen must leave.
struct Expected {
    Outcome outcome;
    int end_level;
};

// Where a click on an answer leads once "ANO" confirms it.
static Expected confirmed(int slot) {
    if (slot != correct_slot) {
        tally.falls++;
        return {END, level - (level - 1) % 5}; // one past the safe row
    }
    if (level < 15)
        return {CLIMB, 0};
    tally.wins++;
    return {END, 16};
}

// Scripts one turn's input: right and middle presses, then one left click aimed now anywhere,
// now at a given area, or Escape for one frame; foresees what the turn does.
static Expected script_turn(int skill) {
    other_buttons(roll(3));
    int kind = roll(100);
    if (kind < 2) {
        hold_escape(1); // one frame: the turn returns at once and takes nothing more
        tally.escape_on_board++;
        return {NOTHING, 0};
    }
    Point p = kind < 22   ? anywhere()
              : kind < 30 ? point_in(chance(50) ? AREA_ANO : AREA_NIE)
              : kind < 42 ? point_in(AREA_FIFTY + roll(3))
              : kind < 44 ? point_in(AREA_EXIT)
                          : point_in(aim_answer(skill));
    press(p, 1, 1 + roll(3));
    int area = hit_test(p.x, p.y);
    if (area == AREA_ANO || area == AREA_NIE) {
        tally.confirm_without_prompt++;
        return {NOTHING, 0};
    }
    if (area == AREA_EXIT) {
        tally.walks++;
        return {END, level};
    }
    if (area >= AREA_FIFTY && area <= AREA_THIRD) {
        static const int bits[3] = {LIFELINE_FIFTY, LIFELINE_SWITCH, LIFELINE_THIRD};
        static const Outcome effects[3] = {FIFTY, SWITCH, THIRD};
        int k = area - AREA_FIFTY;
        if (lifelines_used & bits[k]) {
            tally.on_used_lifeline++;
            return {NOTHING, 0};
        }
        return {effects[k], 0};
    }
    if (area < 0)
        return {NOTHING, 0};
    if (!shown_question.answer_text[area][0]) {
        tally.on_removed++;
        return {NOTHING, 0};
    }
    return script_prompt() ? confirmed(area) : Expected{NOTHING, 0};
}

// Checks what a turn that goes on did to the board, against what it was foreseen to do.
static void check_turn(const Board &before, Outcome outcome) {
    check_board();
    Board after = board_now();
    switch (outcome) {
    case NOTHING:
        EXPECT_TRUE(same_board(before, after)) << "a turn that does nothing changed the board";
        break;
    case THIRD:
        EXPECT_EQ(after.lifelines, before.lifelines | LIFELINE_THIRD);
        after.lifelines = before.lifelines;
        EXPECT_TRUE(same_board(before, after)) << "the third lifeline changed the board";
        break;
    case FIFTY: {
        int removed = 0;
        for (int s = 0; s < 4; s++)
            removed += !shown_question.answer_text[s][0];
        EXPECT_EQ(removed, 2);
        EXPECT_EQ(after.level, before.level);
        EXPECT_EQ(after.lifelines, before.lifelines | LIFELINE_FIFTY);
        break;
    }
    case SWITCH:
        EXPECT_EQ(after.level, before.level);
        EXPECT_EQ(after.lifelines, before.lifelines | LIFELINE_SWITCH);
        check_fresh_draw();
        break;
    case CLIMB:
        EXPECT_EQ(after.level, before.level + 1);
        EXPECT_EQ(after.lifelines, before.lifelines);
        tally.climbs++;
        if (level % 5 == 1)
            std::memset(drawn_in_tier, 0, sizeof drawn_in_tier);
        check_fresh_draw();
        break;
    case END:
        break;
    }
}

// Plays one turn and checks it. Returns 1 when the game is over.
static int soak_turn(int skill) {
    Board before = board_now();
    Expected expected = script_turn(skill);
    final_expected = expected.outcome == END;
    final_dismissed = false;
    int over = play_turn();
    tally.turns++;
    EXPECT_LE(script_frames_left(), 3) << "the turn did not take the clicks it was given";
    EXPECT_EQ(over, expected.outcome == END ? 1 : 0) << "at level " << before.level;
    if (over) {
        EXPECT_TRUE(final_dismissed) << "no final screen waited for a press";
        EXPECT_EQ(level, expected.end_level);
        EXPECT_TRUE(text_cells_transparent()) << "text mode after the final screen";
        return 1;
    }
    check_turn(before, expected.outcome);
    if (level > tally.top_level)
        tally.top_level = level;
    return 0;
}

// One complete game: the intro left with a click anywhere (or Escape), turns until it ends.
// Stores the heap in use once the game has started.
static void soak_game(int skill, size_t *heap) {
    script_reset();
    per_frame_agent = soak_frame;
    final_expected = false;
    animated_frames = 0;
    other_buttons(roll(3));
    if (chance(5))
        hold_escape(1);
    else
        press(anywhere(), 1, 1 + roll(3));
    new_game();
    *heap = heap_in_use();
    EXPECT_EQ(level, 1);
    EXPECT_EQ(lifelines_used, 0);
    std::memset(drawn_in_tier, 0, sizeof drawn_in_tier);
    check_board();
    check_fresh_draw();
    for (int turn = 0; !::testing::Test::HasFailure(); turn++) {
        ASSERT_LT(turn, 5000) << "a game that never ends";
        if (soak_turn(skill))
            break;
    }
    tally.games++;
}

// Plays the given number of games from a seed; stops at the first game that breaks a rule.
// Returns the heap in use at the start of game `baseline` and of the last game.
static std::pair<size_t, size_t> soak_games(int games, int baseline, unsigned seed) {
    // How often a player aims at the correct answer: most games end early, one in ten climbs
    // to the top. Each climb costs a 200-frame banner, which sets the soak's pace.
    static const int SKILLS[10] = {25, 25, 25, 25, 50, 50, 50, 75, 75, 97};
    tally = Tally();
    player.seed(seed);
    std::srand(seed);
    size_t at_baseline = 0, at_end = 0;
    for (int g = 1; g <= games && !::testing::Test::HasFailure(); g++) {
        soak_game(SKILLS[roll(10)], &at_end);
        if (g == baseline)
            at_baseline = at_end;
    }
    std::printf("soak: %d games, %d turns, %d climbs, top level %d, %d won, %d walked away, %d "
                "fell; presses on removed answers %d, on used lifelines %d, ANO/NIE without a "
                "prompt %d, Escape in the prompt %d, on the board %d, at the final screen %d; "
                "NIE %d, ANO held into the end %d, final screens ended by the right button %d\n",
                tally.games, tally.turns, tally.climbs, tally.top_level, tally.wins, tally.walks,
                tally.falls, tally.on_removed, tally.on_used_lifeline, tally.confirm_without_prompt,
                tally.escape_in_prompt, tally.escape_on_board, tally.escape_at_final,
                tally.withdrawn, tally.held_into_end, tally.right_dismissals);
    return {at_baseline, at_end};
}

// The test banks, with the hard tier cut to six questions: five levels and one switch then
// draw every question of the tier.
static std::string soak_folder(const std::string &dir) {
    for (const char *bank : {"lahke.txt", "stredne.txt", "tazke.txt"})
        fs::copy_file(fs::path(REBRIK_TEST_DATA_DIR) / "game" / bank, fs::path(dir) / bank,
                      fs::copy_options::overwrite_existing);
    std::ifstream in(fs::path(dir) / "tazke.txt");
    std::string line, text = "6\n";
    std::getline(in, line);
    for (int i = 0; i < 30 && std::getline(in, line); i++)
        text += line + "\n";
    in.close();
    std::ofstream(fs::path(dir) / "tazke.txt") << text;
    return dir;
}

static int soak_game_count(void) {
    return env_int("REBRIK_SOAK_GAMES", DEFAULT_GAMES);
}

static unsigned soak_seed(void) {
    return unsigned(env_int("REBRIK_SOAK_SEED", 20240607));
}

// Random games keep every rule after every turn, reach every tier and end in every way, and
// the heap in use at the start of a game does not grow from game to game.
TEST(Soak, RandomGamesKeepTheRules) {
    std::string dir = soak_folder(make_game_folder());
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    int games = soak_game_count();
    ASSERT_GE(games, 1);
    int baseline = games >= 300 ? 100 : (games + 2) / 3;
    std::pair<size_t, size_t> heap = soak_games(games, baseline, soak_seed());
    ASSERT_FALSE(HasFailure());
    long growth = long(heap.second) - long(heap.first);
    std::printf("soak: heap in use at the start of game %d: %zu bytes, of game %d: %zu bytes "
                "(%+ld)\n",
                baseline, heap.first, games, heap.second, growth);
    EXPECT_LE(growth, 16 * 1024) << "the heap grows from game to game";
    if (games >= 100) {
        EXPECT_GE(tally.top_level, 11);
        EXPECT_GT(tally.wins, 0);
        EXPECT_GT(tally.walks, 0);
        EXPECT_GT(tally.falls, 0);
        EXPECT_GT(tally.on_removed, 0);
        EXPECT_GT(tally.on_used_lifeline, 0);
        EXPECT_GT(tally.confirm_without_prompt, 0);
        EXPECT_GT(tally.escape_in_prompt, 0);
        EXPECT_GT(tally.right_dismissals, 0);
        EXPECT_GT(tally.held_into_end, 0);
    }
    fs::remove_all(dir);
}

// Pictures the game accepts though they spoil the look (a lifeline sheet 150 wide whose click
// areas overlap, rows of 22 pixels from a sheet 90 high, an intro picture wider than the play
// area) play whole games without a fault.
TEST(Soak, OddPicturesPlayWholeGames) {
    TestImageSizes odd;
    odd.sheet_w = 150;
    odd.sheet_h = 90;
    odd.title_w = 520;
    std::string dir = write_test_images(odd);
    ASSERT_FALSE(dir.empty());
    soak_folder(dir);
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    int games = std::max(10, soak_game_count() / 20);
    soak_games(games, 1, soak_seed() + 1);
    EXPECT_EQ(tally.games, games);
    fs::remove_all(dir);
}
