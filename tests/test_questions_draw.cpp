// The question draw: the answer shuffle with its upward probe, the question probe past the
// history, and the copy onto the board. This program supplies its own rand(), which the linker
// prefers to the C library's, so each test says which numbers the draw gets.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <unistd.h>
#include "game/game.h"
#include "questions/questions.h"

static std::deque<int> scripted;  // numbers rand() hands out next
static int rand_calls;            // how many the code under test took
static unsigned long long mixing; // a private generator once the script runs dry

extern "C" int rand(void) noexcept {
    rand_calls++;
    if (!scripted.empty()) {
        int value = scripted.front();
        scripted.pop_front();
        return value;
    }
    mixing = mixing * 6364136223846793005ull + 1442695040888963407ull;
    return int(mixing >> 33);
}

static void script_rand(std::initializer_list<int> values) {
    scripted.assign(values);
    rand_calls = 0;
}

// Loads a tier of n questions: question i is "Otazka i", its answers "dobra i", "zla i a", ...
static void load_tier_of(int n, const std::string &extra_blocks = "") {
    static std::string path;
    if (path.empty()) {
        char dir[] = "/tmp/rebrik-draw-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        path = std::string(dir) + "/tier.txt";
    }
    std::string text = std::to_string(n) + "\n" + extra_blocks;
    int blocks = n - int(std::count(extra_blocks.begin(), extra_blocks.end(), '\n')) / 5;
    for (int i = n - blocks; i < n; i++) {
        std::string k = std::to_string(i);
        text += "Otazka " + k + "\ndobra " + k + "\nzla " + k + " a\nzla " + k + " b\nzla " + k +
                " c\n";
    }
    FILE *f = std::fopen(path.c_str(), "wb");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    ASSERT_EQ(load_question_file(path.c_str()), 0);
}

// One draw at this level with these numbers from rand().
static void draw_at(int at_level, std::initializer_list<int> numbers) {
    level = at_level;
    script_rand(numbers);
    draw_question();
}

// The index of the question on the board, from its first line.
static int shown_index(void) {
    for (int i = 0; i < question_count; i++)
        if (std::strcmp(question_set[i].line1, shown_question.line1) == 0)
            return i;
    return -1;
}

static void set_history(int a, int b, int c, int d, int e) {
    const int entries[5] = {a, b, c, d, e};
    std::memcpy(recent_questions, entries, sizeof entries);
}

// The board shows these answers in slots A, B, C and D.
static void expect_slots(const char *a, const char *b, const char *c, const char *d) {
    const char *expected[4] = {a, b, c, d};
    for (int s = 0; s < 4; s++)
        EXPECT_STREQ(shown_question.answer_text[s], expected[s]) << "slot " << s;
}

// Five numbers per draw, the shuffle's four first: the fifth alone picks the question.
TEST(QuestionDraw, FiveNumbersShuffleFirst) {
    load_tier_of(10);
    draw_at(1, {0, 0, 0, 0, 7});
    EXPECT_EQ(rand_calls, 5);
    EXPECT_EQ(shown_index(), 7);
    EXPECT_EQ(recent_questions[1], 7);
    // All four started at A, so each moved up to the next free slot: file order.
    expect_slots("dobra 7", "zla 7 a", "zla 7 b", "zla 7 c");
    EXPECT_EQ(correct_slot, 0);
}

// The correct answer goes first into an empty table: its slot is rand() % 4, never probed.
TEST(QuestionDraw, CorrectSlotIsFirstNumber) {
    load_tier_of(6);
    for (int first = 0; first < 12; first++) {
        draw_at(2, {first, first, first, first, first});
        EXPECT_EQ(correct_slot, first % 4);
        EXPECT_STREQ(shown_question.answer_text[correct_slot],
                     question_set[shown_index()].answers[0]);
    }
}

// A taken slot passes the answer to the next, D wrapping to A: with B and C taken, 1 gives D.
TEST(QuestionDraw, ShuffleProbesUpwardWithWrap) {
    load_tier_of(6);
    draw_at(1, {1, 2, 1, 3, 0});
    EXPECT_EQ(correct_slot, 1);
    // The last answer's 3 is taken, so it wraps around to A.
    expect_slots("zla 0 c", "dobra 0", "zla 0 a", "zla 0 b");
}

// The question probe moves up past the history and wraps to 0.
TEST(QuestionDraw, QuestionProbe) {
    load_tier_of(10);
    struct Case {
        int start, history[5], expected;
    } cases[] = {
        {3, {-1, -1, 3, 4, -1}, 5}, {9, {-1, -1, 3, 4, -1}, 9}, {13, {-1, -1, 3, 4, -1}, 5},
        {8, {8, 9, -1, -1, -1}, 0}, {9, {9, 0, 1, 2, -1}, 3},   {0, {-1, -1, -1, -1, -1}, 0},
    };
    for (const Case &c : cases) {
        set_history(c.history[0], c.history[1], c.history[2], c.history[3], c.history[4]);
        draw_at(3, {0, 0, 0, 0, c.start});
        EXPECT_EQ(shown_index(), c.expected) << "start " << c.start;
        EXPECT_EQ(recent_questions[3], c.expected);
    }
}

// In a tier of six with five questions in the history, every start gives the sixth.
TEST(QuestionDraw, SixthOfSixAlwaysFound) {
    load_tier_of(6);
    for (int free_one = 0; free_one < 6; free_one++)
        for (int start = 0; start < 12; start++) {
            int h[5], n = 0;
            for (int i = 0; i < 6; i++)
                if (i != free_one)
                    h[n++] = i;
            set_history(h[0], h[1], h[2], h[3], h[4]);
            draw_at(5, {0, 0, 0, 0, start});
            EXPECT_EQ(shown_index(), free_one);
        }
}

// Levels 1..5 of a tier fill history entries 1, 2, 3, 4 and 0; so do 6..10 and 11..15.
TEST(QuestionDraw, HistoryEntryByLevel) {
    for (int first : {1, 6, 11}) {
        load_tier_of(8);
        for (int k = 0; k < 5; k++) {
            draw_at(first + k, {0, 0, 0, 0, k});
        }
        const int expected[5] = {4, 0, 1, 2, 3};
        for (int e = 0; e < 5; e++)
            EXPECT_EQ(recent_questions[e], expected[e]) << "tier from level " << first;
    }
}

// The copy: verbatim texts, a stale line2 after a one-line question, states all normal.
TEST(QuestionDraw, CopyToBoard) {
    load_tier_of(7, "Dva\triadky\n100 %\n%s\n%d %n\n\n");
    draw_at(1, {0, 0, 0, 0, 0});
    EXPECT_EQ(question_lines, 2);
    EXPECT_STREQ(shown_question.line1, "Dva");
    EXPECT_STREQ(shown_question.line2, "riadky");
    expect_slots("100 %", "%s", "%d %n", ""); // an empty answer line stays empty
    for (int &state : answer_state)
        state = 2;
    draw_at(2, {0, 0, 0, 0, 1});
    EXPECT_EQ(question_lines, 1);
    EXPECT_STREQ(shown_question.line1, "Otazka 1");
    EXPECT_STREQ(shown_question.line2, "riadky");
    for (int state : answer_state)
        EXPECT_EQ(state, 0);
}

// Without a loaded tier the draw changes nothing and takes no numbers.
TEST(QuestionDraw, NoTierNoDraw) {
    load_tier_of(6);
    draw_at(1, {0, 0, 0, 0, 4});
    EXPECT_EQ(load_question_file("/nonexistent/tier.txt"), 1);
    set_history(-1, -1, -1, -1, -1);
    ShownQuestion before = shown_question;
    script_rand({});
    draw_question();
    EXPECT_EQ(rand_calls, 0);
    EXPECT_EQ(std::memcmp(&before, &shown_question, sizeof before), 0);
    EXPECT_EQ(recent_questions[1], -1);
}

// Over many games from the generator: five levels and a switch per tier never bring back a
// question of the tier, the correct answer is always at correct_slot, and the four answers
// are always the record's four.
TEST(QuestionDraw, ManyGames) {
    mixing = 20240601;
    scripted.clear();
    for (int game = 0; game < 400; game++) {
        for (int first : {1, 6, 11}) {
            load_tier_of(6 + game % 5);
            bool used[16] = {};
            int switch_at = first + game % 5;
            for (level = first; level < first + 5; level++) {
                int draws = level == switch_at ? 2 : 1;
                for (int d = 0; d < draws; d++) {
                    if (d == 1) // the switch parks the replaced question in entry 0
                        recent_questions[0] = recent_questions[level % 5];
                    rand_calls = 0;
                    draw_question();
                    ASSERT_EQ(rand_calls, 5);
                    int q = shown_index();
                    ASSERT_GE(q, 0);
                    ASSERT_FALSE(used[q]) << "game " << game << " level " << level;
                    used[q] = true;
                    const QuestionRecord &r = question_set[q];
                    EXPECT_STREQ(shown_question.answer_text[correct_slot], r.answers[0]);
                    int seen = 0;
                    for (int s = 0; s < 4; s++)
                        for (int a = 0; a < 4; a++)
                            seen |= std::strcmp(shown_question.answer_text[s], r.answers[a]) == 0
                                        ? 1 << a
                                        : 0;
                    EXPECT_EQ(seen, 15);
                }
            }
        }
    }
}
