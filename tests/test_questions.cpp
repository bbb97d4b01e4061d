// Question files and the draw: what loads or is refused on which line, each limit at and past
// its edge; every outcome of the shuffle and the probe; the author's review.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <unistd.h>
#include "harness/harness.h"

using namespace std::string_literals; // "..."s keeps NUL bytes inside

// Writes the text to a file of that name in a fresh working folder and loads it.
static int load_text(const std::string &text, const char *name = "q.txt") {
    static char dir[] = "/tmp/rebrik-questions-XXXXXX";
    static bool ready = mkdtemp(dir) && chdir(dir) == 0;
    std::ofstream(name, std::ios::binary) << text;
    return ready ? load_question_file(name) : -1;
}

// k blocks: question i is "Otazka i", its answers "a i", "b", "c", "d".
static std::string blocks(int k) {
    std::string text;
    for (int i = 0; i < k; i++)
        text += "Otazka " + std::to_string(i) + "\na" + std::to_string(i) + "\nb\nc\nd\n";
    return text;
}

// A question record or the board as "line1/line2|A|B|C|D" ("/line2" only for two lines).
static std::string shown(const char *l1, const char *l2, int lines, const char (*answers)[25]) {
    std::string out = l1 + (lines == 2 ? "/" + std::string(l2) : "");
    for (int i = 0; i < 4; i++)
        out += "|" + std::string(answers[i]);
    return out;
}

// A file loads its header's count of records, or is refused on its 1-based line holding none.
TEST(QuestionLoad, LoadedOrRefusedOnLine) {
    const std::string six = "6\n" + blocks(5), q54(54, 'q'), a24(24, 'a');
    const struct {
        std::string text, last; // the file, its last record loaded
        int why, number;        // LOAD_OK and the count loaded, or the refusal and its line
    } cases[] = {
        // CR LF loads as LF; a lone CR stays, and so does a second TAB, in line2.
        {six + "Dva\triadky\tx\r\nA\rB\r\nb\nc\nd\n", "Dva/riadky\tx|A\rB|b|c|d", LOAD_OK, 6},
        {"\n\r\n+6 otazok\n" + blocks(6), "Otazka 5|a5|b|c|d", LOAD_OK, 6}, // header text skipped
        {six + "Q\na\nb\nc\nd", "Q|a|b|c|d", LOAD_OK, 6}, // no LF after the last answer
        {"7\n" + blocks(8) + "\tnie\n", "Otazka 6|a6|b|c|d", LOAD_OK, 7},   // only the first seven
        {six + "Q\na\x1a" + "b\nc\nd\n" + blocks(2), "Q|a|||", LOAD_OK, 6}, // Ctrl-Z ends the file
        {six + q54 + "\t" + q54 + "\n" + a24, q54 + "/" + q54 + "|" + a24 + "|||", LOAD_OK, 6},
        {"\n\n  x6\n" + blocks(6), "", LOAD_NO_NUMBER, 3},
        {"\0"s + "6\n" + blocks(6), "", LOAD_NO_NUMBER, 1},
        {"\n5 otazok\n" + blocks(6), "", LOAD_TOO_FEW, 2},
        {"-6\n" + blocks(6), "", LOAD_TOO_FEW, 1},
        {"6 otazok", "", LOAD_HEADER_CUT, 1},
        {"6\rOtazka\ra\rb\rc\rd\r", "", LOAD_HEADER_CUT, 1},
        {"6\n" + blocks(2) + "Otazka\tbez konca", "", LOAD_QUESTION_CUT, 12},
        {six, "", LOAD_BLOCKS_MISSING, 26},
        {six + "\x1a" + blocks(1), "", LOAD_BLOCKS_MISSING, 26},
        {"2147483647\n" + blocks(1), "", LOAD_BLOCKS_MISSING, 6},
        {six + q54 + "q\na\nb\nc\nd\n", "", LOAD_QUESTION_TOO_LONG, 27},
        {six + "Q\t" + q54 + "q\na\nb\nc\nd\n", "", LOAD_QUESTION_TOO_LONG, 27},
        {six + "Q\na\nb\nc\n" + a24 + "d\n", "", LOAD_ANSWER_TOO_LONG, 31},
        {six + "Q\n" + a24 + "a\nb\nc\nd\n", "", LOAD_ANSWER_TOO_LONG, 28},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(load_text(c.text), c.why == LOAD_OK ? 0 : 1);
        EXPECT_EQ(load_refusal, c.why);
        EXPECT_EQ(c.why == LOAD_OK ? question_count : load_refusal_line, c.number);
        const QuestionRecord *r = question_set ? &question_set[question_count - 1] : nullptr;
        EXPECT_EQ(r ? shown(r->line1, r->line2, r->line_count, r->answers) : "", c.last);
    }
}

// A new load drops the old set and a good one empties the history; the tier messages name the
// file, then the line and reason when the file was read, each ending in a line feed.
TEST(QuestionLoad, ReplacedSetAndTierMessages) {
    ASSERT_EQ(load_text("7\n" + blocks(7)), 0);
    std::fill(recent_questions, recent_questions + 5, 3);
    ASSERT_EQ(load_text("6\n" + blocks(6)), 0);
    EXPECT_EQ(std::count(recent_questions, recent_questions + 5, -1), 5);
    char text[128];
    EXPECT_TRUE(load_question_file("nie-je-tu.txt") == 1 && load_refusal == LOAD_NOT_OPENED &&
                !load_refusal_line && !question_set);
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text, "Nemozem nacitat otazky zo suboru nie-je-tu.txt\n");
    EXPECT_EQ(load_text("6\n" + blocks(1) + "Q\n" + std::string(25, 'a') + "\n", "tazke.txt"), 1);
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text, "Nemozem nacitat otazky zo suboru tazke.txt\n"
                       "Chyba na riadku 8: odpoved je dlhsia ako 24 bajtov\n");
    level = 11;
    ASSERT_EQ(load_tier(), 1);
    headless_init(); // the library shows the message on standard output here
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), end_on_tier_failure()),
                testing::ExitedWithCode(1), "^Nemozem nacitat otazky zo suboru tazke.txt\nChyba");
}

// Every four numbers of the shuffle: answer p goes to the first free slot from its number's
// remainder upward, D wrapping to A; the correct slot is the first number's remainder.
TEST(QuestionDraw, EveryShuffle) {
    ASSERT_EQ(load_text("6\n" + blocks(6)), 0);
    level = 1;
    for (int n = 0; n < 256; n++) {
        int numbers[4] = {n % 4, n / 4 % 4 + 4, n / 16 % 4 + 8, n / 64}, want[4] = {-1, -1, -1, -1};
        for (int p = 0; p < 4; p++) {
            int s = numbers[p] % 4;
            while (want[s] != -1)
                s = (s + 1) % 4;
            want[s] = p;
        }
        script_reset();
        script_rand({numbers[0], numbers[1], numbers[2], numbers[3], 2});
        std::fill(recent_questions, recent_questions + 5, -1);
        draw_question();
        ASSERT_TRUE(rand_taken() == 5 && correct_slot == n % 4) << n;
        for (int s = 0; s < 4; s++)
            EXPECT_EQ(shown_question.answer_text[s],
                      "a2bcd"s.substr(want[s] ? want[s] + 1 : 0, want[s] ? 1 : 2))
                << n;
    }
}

// The question probe from every start: upward past the history, wrapping to 0; the drawn index
// goes to history entry level % 5. Texts are copied as they stand, "%" too; states reset.
TEST(QuestionDraw, EveryProbeStart) {
    const struct {
        int count, history[5];
    } tiers[] = {{10, {-1, -1, 3, 4, -1}}, {10, {8, 9, -1, -1, 7}}, {6, {0, 1, 2, 4, 5}}};
    for (const auto &t : tiers) {
        ASSERT_EQ(
            load_text(std::to_string(t.count) + "\nDva\t%s %n\n%d\n\nb\nc\n" + blocks(t.count - 1)),
            0);
        for (int start = 0; start < 2 * t.count; start++) {
            int want = start % t.count;
            while (std::count(t.history, t.history + 5, want))
                want = (want + 1) % t.count;
            std::copy(t.history, t.history + 5, recent_questions);
            level = 7;
            script_reset();
            script_rand({0, 0, 0, 0, start});
            answer_state[3] = 2;
            draw_question();
            EXPECT_TRUE(recent_questions[2] == want && !answer_state[3]) << t.count << " " << start;
            EXPECT_TRUE(want || shown(shown_question.line1, shown_question.line2, question_lines,
                                      shown_question.answer_text) == "Dva/%s %n|%d||b|c");
        }
    }
}

static std::string findings;

// The review reports each warning on its line in file order, and nothing for a clean file.
TEST(QuestionReview, WarningsOnTheirLines) {
    findings.clear();
    for (const char *name : {"clean.txt", "warnings.txt"}) {
        ASSERT_EQ(load_question_file((REBRIK_TEST_DATA_DIR "/questions/"s + name).c_str()), 0);
        review_question_set([](int line, const char *text) {
            findings += std::to_string(line) + ": " + text + "\n";
        });
    }
    EXPECT_EQ(findings, "3: spravna odpoved je prazdna, otazka sa neda vyhrat\n"
                        "10: nespravna odpoved je prazdna\n"
                        "15: odpoved je rovnaka ako na riadku 14\n"
                        "17: otazka uz je v subore na riadku 2\n"
                        "23: text nie je platne UTF-8\n"
                        "27: riadok otazky ma 54 znakov, do ramceka sa zmesti 51\n");
}
