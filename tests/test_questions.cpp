// Question files: loads and refusals at each limit, every probe start and shuffle, the reviews.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <unistd.h>
#include "harness/harness.h"

// Writes the text to a file of that name in a fresh working folder and loads it.
static int load_text(const std::string &text, const char *name = "q.txt") {
    bool ready = chdir(scratch_folder("questions").c_str()) == 0;
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
static std::string shown(const char *l1, const char *l2, int lines,
                         const char (*answers)[ANSWER_MAX + 1]) {
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
        {std::string(1, '\0') + "6\n" + blocks(6), "", LOAD_NO_NUMBER, 1},
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
        int result = load_text(c.text), number = c.why ? load_refusal_line : question_count;
        const QuestionRecord *r = question_set ? &question_set[question_count - 1] : nullptr;
        EXPECT_EQ(std::tuple(result, load_refusal, number,
                             r ? shown(r->line1, r->line2, r->line_count, r->answers) : ""),
                  std::tuple(c.why != LOAD_OK, c.why, c.number, c.last))
            << c.text.substr(0, 40);
    }
}

// The review reports each warning of the loaded file on its line in file order, nothing for a
// clean one; a good load empties the history. The tier messages name the file, then the line and
// reason when the file was read, each ending in a line feed.
TEST(QuestionLoad, ReviewAndTierMessages) {
    static std::string findings;
    findings.clear();
    for (std::string name : {"clean.txt", "warnings.txt"}) {
        std::fill(recent_questions, recent_questions + 5, 3);
        ASSERT_EQ(load_question_file((REBRIK_TEST_DATA_DIR "/questions/" + name).c_str()), 0);
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
    EXPECT_EQ(std::count(recent_questions, recent_questions + 5, -1), 5);
    char text[128];
    EXPECT_TRUE(load_question_file("nie-je-tu.txt") == 1 && !load_refusal_line && !question_set);
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text, "Nemozem nacitat otazky zo suboru nie-je-tu.txt\n");
    EXPECT_EQ(load_text("6\n" + blocks(1) + "Q\n" + std::string(25, 'a') + "\n", "tazke.txt"), 1);
    level = 11;
    ASSERT_EQ(load_tier(), 1);
    headless_init(); // the library shows the message on standard output here
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), end_on_tier_failure()),
                testing::ExitedWithCode(1),
                "^Nemozem nacitat otazky zo suboru tazke.txt\n"
                "Chyba na riadku 8: odpoved je dlhsia ako 24 bajtov\n$");
}

// From every start the draw takes the first question upward not in the history, wrapping to 0,
// into history entry level % 5; answer p goes to the first free slot from its number % 4 upward;
// the correct slot is the first number % 4. Texts are copied as they stand; states reset.
TEST(QuestionDraw, EveryProbeStartAndShuffle) {
    const int tiers[][6] = {{10, -1, -1, 3, 4, -1}, {10, 8, 9, -1, -1, 7}, {6, 0, 1, 2, 4, 5}};
    for (const int *t : tiers) {
        const int n = t[0], *history = t + 1; // its question count, its history
        ASSERT_EQ(load_text(std::to_string(n) + "\nDva\t%s %n\n%d\n\nb\nc\n" + blocks(n - 1)), 0);
        for (int k = 0; k < 256; k++) {
            int start = k % (2 * n), want = start % n, slot_of[4] = {-1, -1, -1, -1},
                numbers[4] = {k % 4, k / 4 % 4 + 4, k / 16 % 4 + 8, k / 64};
            while (std::count(history, history + 5, want))
                want = (want + 1) % n;
            for (int p = 0, s; p < 4; slot_of[s] = p++)
                for (s = numbers[p] % 4; slot_of[s] != -1;)
                    s = (s + 1) % 4;
            std::copy(history, history + 5, recent_questions);
            level = 7;
            script_reset();
            script_rand({numbers[0], numbers[1], numbers[2], numbers[3], start});
            answer_state[3] = 2;
            draw_question();
            ASSERT_TRUE(recent_questions[2] == want && !answer_state[3] && rand_taken() == 5 &&
                        correct_slot == k % 4)
                << k;
            for (int s = 0; s < 4; s++)
                EXPECT_STREQ(shown_question.answer_text[s], question_set[want].answers[slot_of[s]]);
            EXPECT_TRUE(want || shown(shown_question.line1, shown_question.line2, question_lines,
                                      question_set[0].answers) == "Dva/%s %n|%d||b|c");
        }
    }
}
