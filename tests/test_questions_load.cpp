// Question files: what loads and what is refused on which line, a new load replacing the set,
// the orderly end on a failed tier, and the review that rebrik-check prints.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include "game/game.h"
#include "harness/harness.h"
#include "questions/questions.h"

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

// The last record loaded as "line1/line2|A|B|C|D" ("/line2" only for two lines).
static std::string last_record(void) {
    const QuestionRecord &q = question_set[question_count - 1];
    std::string out = q.line1 + (q.line_count == 2 ? "/" + std::string(q.line2) : "");
    for (const char *answer : q.answers)
        out += "|" + std::string(answer);
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
        {six + "Dva\triadky\tx\nA\rB\nb\nc\nd\n", "Dva/riadky\tx|A\rB|b|c|d", LOAD_OK, 6},
        {six + "Dva\triadky\tx\r\nA\rB\r\nb\r\nc\r\nd\r\n", "Dva/riadky\tx|A\rB|b|c|d", LOAD_OK, 6},
        {"\n\r\n6 otazok\n" + blocks(6), "Otazka 5|a5|b|c|d", LOAD_OK, 6}, // header text skipped
        {six + "Q\na\nb\nc\nd", "Q|a|b|c|d", LOAD_OK, 6}, // no LF after the last answer
        {"6\n" + blocks(8) + "\tnie\n", "Otazka 5|a5|b|c|d", LOAD_OK, 6},   // only the first six
        {six + "Q\na\x1a" + "b\nc\nd\n" + blocks(2), "Q|a|||", LOAD_OK, 6}, // Ctrl-Z ends the file
        {six + q54 + "\t" + q54 + "\n" + a24, q54 + "/" + q54 + "|" + a24 + "|||", LOAD_OK, 6},
        {"\n\n  x6\n" + blocks(6), "", LOAD_NO_NUMBER, 3},
        {"\n5 otazok\n" + blocks(6), "", LOAD_TOO_FEW, 2},
        {"6 otazok", "", LOAD_HEADER_CUT, 1},
        {"6\n" + blocks(2) + "Otazka\tbez konca", "", LOAD_QUESTION_CUT, 12},
        {six, "", LOAD_BLOCKS_MISSING, 26},
        {six + "\x1a" + blocks(1), "", LOAD_BLOCKS_MISSING, 26},
        {six + q54 + "q\na\nb\nc\nd\n", "", LOAD_QUESTION_TOO_LONG, 27},
        {six + "Q\t" + q54 + "q\na\nb\nc\nd\n", "", LOAD_QUESTION_TOO_LONG, 27},
        {six + "Q\na\nb\nc\n" + a24 + "d\n", "", LOAD_ANSWER_TOO_LONG, 31},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(load_text(c.text), c.why == LOAD_OK ? 0 : 1);
        EXPECT_EQ(load_refusal, c.why);
        EXPECT_EQ(c.why == LOAD_OK ? question_count : load_refusal_line, c.number);
        EXPECT_EQ(question_set ? last_record() : "", c.last);
    }
}

// A new load drops the old set, a good one empties the history, a missing file has no line.
TEST(QuestionLoad, NewLoadReplacesSet) {
    ASSERT_EQ(load_text("7\n" + blocks(7)), 0);
    std::fill(recent_questions, recent_questions + 5, 3);
    ASSERT_EQ(load_text("6\n" + blocks(6)), 0);
    EXPECT_EQ(std::count(recent_questions, recent_questions + 5, -1), 5);
    EXPECT_EQ(load_question_file("nie-je-tu.txt"), 1);
    EXPECT_EQ(load_refusal, LOAD_NOT_OPENED);
    EXPECT_EQ(load_refusal_line, 0);
    EXPECT_EQ(question_set, nullptr);
    char text[128];
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text, "Nemozem nacitat otazky zo suboru nie-je-tu.txt\n");
}

// A refused tier ends the program with status 1 after naming the file, line and reason.
TEST(QuestionTierDeathTest, EndsWithStatusOne) {
    headless_init();
    load_text("6\n" + blocks(1) + "Q\n" + std::string(25, 'a') + "\n", "tazke.txt");
    level = 11;
    ASSERT_EQ(load_tier(), 1);
    // The library shows messages on standard output here; the death test reads standard error.
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), end_on_tier_failure()),
                testing::ExitedWithCode(1),
                "Nemozem nacitat otazky zo suboru tazke.txt\nChyba na riadku 8: odpoved je dlhsia");
}

static std::string findings;

static void collect(int line, const char *text) {
    findings += std::to_string(line) + ": " + text + "\n";
}

// The review reports each warning on its line in file order, and nothing for a clean file.
TEST(QuestionReview, WarningsOnTheirLines) {
    const std::string dir = REBRIK_TEST_DATA_DIR "/questions/";
    findings.clear();
    for (const char *name : {"clean.txt", "warnings.txt"}) {
        ASSERT_EQ(load_question_file((dir + name).c_str()), 0);
        review_question_set(collect);
    }
    EXPECT_EQ(findings, "3: spravna odpoved je prazdna, otazka sa neda vyhrat\n"
                        "10: nespravna odpoved je prazdna\n"
                        "15: odpoved je rovnaka ako na riadku 14\n"
                        "17: otazka uz je v subore na riadku 2\n"
                        "23: text nie je platne UTF-8\n"
                        "27: riadok otazky ma 54 znakov, do ramceka sa zmesti 51\n");
}
