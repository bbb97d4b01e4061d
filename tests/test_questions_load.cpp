// Question files: loading, refusals with their lines, the tier choice, the orderly end on a
// failed tier, and the review that rebrik-check prints.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>
#include "game/game.h"
#include "harness/harness.h"
#include "questions/questions.h"

// A fresh folder for the files of this program's tests.
static const std::string &scratch_dir(void) {
    static std::string dir;
    if (dir.empty()) {
        char name[] = "/tmp/rebrik-questions-XXXXXX";
        if (!mkdtemp(name))
            std::abort();
        dir = name;
    }
    return dir;
}

// Writes the bytes to a file of that name in the scratch folder; returns its path.
static std::string write_file(const std::string &name, const std::string &bytes) {
    std::string path = scratch_dir() + "/" + name;
    FILE *f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

static int load_text(const std::string &bytes) {
    return load_question_file(write_file("q.txt", bytes).c_str());
}

// One block: the question line and four answers, each ended by LF.
static std::string block(const std::string &question, const std::string &right = "spravna",
                         const std::string &w1 = "zla1", const std::string &w2 = "zla2",
                         const std::string &w3 = "zla3") {
    return question + "\n" + right + "\n" + w1 + "\n" + w2 + "\n" + w3 + "\n";
}

// A header of n and `blocks` blocks whose questions are "Otazka 0", "Otazka 1", ...
static std::string bank(int n, int blocks) {
    std::string text = std::to_string(n) + "\n";
    for (int i = 0; i < blocks; i++)
        text += block("Otazka " + std::to_string(i), "ano " + std::to_string(i));
    return text;
}

static std::string crlf(const std::string &lf) {
    std::string out;
    for (char c : lf)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

static void expect_refused(int why, int line) {
    EXPECT_EQ(load_refusal, why);
    EXPECT_EQ(load_refusal_line, line);
    EXPECT_EQ(question_set, nullptr);
    EXPECT_EQ(question_count, 0);
}

// The records as bytes, for comparing two loads (line2 only where it is set).
static std::string records_bytes(void) {
    std::string out;
    for (int i = 0; i < question_count; i++) {
        const QuestionRecord &q = question_set[i];
        out += std::string(q.line1) + "|" + std::to_string(q.line_count) + "|";
        if (q.line_count == 2)
            out += std::string(q.line2) + "|";
        for (const char *a : q.answers)
            out += std::string(a) + "|";
    }
    return out;
}

// CR LF and LF files load alike; a lone CR stays in the text.
TEST(QuestionLoad, CrLfAndLfAlike) {
    std::string lf = bank(6, 5) + block("Dva\triadky", "a\rb");
    ASSERT_EQ(load_text(lf), 0);
    std::string from_lf = records_bytes();
    ASSERT_EQ(load_text(crlf(lf)), 0);
    EXPECT_EQ(records_bytes(), from_lf);
    EXPECT_STREQ(question_set[5].answers[0], "a\rb");
    // CR CR LF keeps the first CR only.
    ASSERT_EQ(load_text(bank(6, 5) + "Q\r\r\nx\n\n\n\n"), 0);
    EXPECT_STREQ(question_set[5].line1, "Q\r");
}

// Empty lines before the header are skipped, text after its number is ignored, and the first
// question starts on the next line; an empty line after the header is data.
TEST(QuestionLoad, HeaderSkipsSpaceIgnoresRestOfLine) {
    ASSERT_EQ(load_text("\n\r\n  \t+6 otazok, verzia 2\n" + bank(6, 6).substr(2)), 0);
    EXPECT_EQ(question_count, 6);
    EXPECT_EQ(first_block_line, 4);
    EXPECT_STREQ(question_set[0].line1, "Otazka 0");
    ASSERT_EQ(load_text("6\n\n" + bank(6, 6).substr(2)), 0);
    EXPECT_STREQ(question_set[0].line1, "");
    EXPECT_STREQ(question_set[0].answers[0], "Otazka 0");
    EXPECT_STREQ(question_set[0].answers[1], "ano 0");
}

// The first TAB splits the question; a further TAB stays in line2; spaces stay everywhere.
TEST(QuestionLoad, TabSplitAndSpacesKept) {
    ASSERT_EQ(load_text(bank(6, 5) + block("  Prvy \t druhy\ttreti  ", " a ", "b  ")), 0);
    const QuestionRecord &q = question_set[5];
    EXPECT_EQ(q.line_count, 2);
    EXPECT_STREQ(q.line1, "  Prvy ");
    EXPECT_STREQ(q.line2, " druhy\ttreti  ");
    EXPECT_STREQ(q.answers[0], " a ");
    EXPECT_STREQ(q.answers[1], "b  ");
    EXPECT_EQ(question_set[0].line_count, 1);
    // An empty first part still makes two lines.
    ASSERT_EQ(load_text(bank(6, 5) + block("\tlen druhy")), 0);
    EXPECT_EQ(question_set[5].line_count, 2);
    EXPECT_STREQ(question_set[5].line1, "");
}

// The last answer may end at the end of file; a block cut among its answers is complete with
// empty answers, whether by the end of file or by a Ctrl-Z.
TEST(QuestionLoad, LastBlockMayEndEarly) {
    ASSERT_EQ(load_text(bank(6, 5) + "Q\na\nb\nc\nd"), 0);
    EXPECT_STREQ(question_set[5].answers[3], "d");
    ASSERT_EQ(load_text(bank(6, 5) + "Q\nsama"), 0);
    EXPECT_STREQ(question_set[5].answers[0], "sama");
    EXPECT_STREQ(question_set[5].answers[1], "");
    EXPECT_STREQ(question_set[5].answers[3], "");
    ASSERT_EQ(load_text(bank(6, 5) +
                        "Q\na\nb\x1a"
                        "c\nd\n" +
                        bank(6, 6)),
              0);
    EXPECT_STREQ(question_set[5].answers[1], "b");
    EXPECT_STREQ(question_set[5].answers[2], "");
    ASSERT_EQ(load_text(bank(6, 5) + "Q\n"), 0);
    EXPECT_STREQ(question_set[5].answers[0], "");
}

// Only the header's N blocks are read; what follows is ignored, however malformed.
TEST(QuestionLoad, MoreBlocksThanHeaderSays) {
    std::string tail(300, 'x');
    ASSERT_EQ(load_text(bank(6, 8) + tail), 0);
    EXPECT_EQ(question_count, 6);
    EXPECT_STREQ(question_set[5].line1, "Otazka 5");
}

// Every byte is copied as it stands: format characters, UTF-8, control bytes, a NUL.
TEST(QuestionLoad, BytesVerbatim) {
    std::string odd("a\0b", 3);
    ASSERT_EQ(load_text(bank(6, 5) + block("100 %s %d %%", "Žlté \x01\x7f\xff", odd)), 0);
    EXPECT_STREQ(question_set[5].line1, "100 %s %d %%");
    EXPECT_STREQ(question_set[5].answers[0], "Žlté \x01\x7f\xff");
    EXPECT_EQ(std::memcmp(question_set[5].answers[1], "a\0b\0", 4), 0);
}

// The limits count bytes: 54 per display line and 24 per answer load, one more is refused on
// its own line; a two-byte letter counts twice.
TEST(QuestionLoad, ByteLimits) {
    std::string line54(54, 'q'), answer24(24, 'a');
    ASSERT_EQ(load_text(bank(6, 5) + block(line54 + "\t" + line54, answer24)), 0);
    EXPECT_STREQ(question_set[5].line1, line54.c_str());
    EXPECT_STREQ(question_set[5].line2, line54.c_str());
    EXPECT_STREQ(question_set[5].answers[0], answer24.c_str());
    std::string wide;
    for (int i = 0; i < 27; i++)
        wide += "č"; // 54 bytes
    EXPECT_EQ(load_text(bank(6, 5) + block(wide)), 0);

    struct Case {
        std::string last_block;
        int why, line;
    } cases[] = {
        {block(line54 + "q"), LOAD_QUESTION_TOO_LONG, 27},
        {block(wide + "q"), LOAD_QUESTION_TOO_LONG, 27},
        {block("kratka\t" + line54 + "q"), LOAD_QUESTION_TOO_LONG, 27},
        {block(line54 + "q\tkratka"), LOAD_QUESTION_TOO_LONG, 27},
        {block("Q", answer24 + "a"), LOAD_ANSWER_TOO_LONG, 28},
        {block("Q", "a", "b", "c", answer24 + "ž"), LOAD_ANSWER_TOO_LONG, 31},
        {"Q\na\nb\nc\n" + answer24 + "a", LOAD_ANSWER_TOO_LONG, 31},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.last_block);
        EXPECT_EQ(load_text(bank(6, 5) + c.last_block), 1);
        expect_refused(c.why, c.line);
    }
}

// Each refusal of a file that was read, with the 1-based line it was found on.
TEST(QuestionLoad, RefusalsWithLines) {
    struct Case {
        std::string text;
        int why, line;
    } cases[] = {
        {"", LOAD_NO_NUMBER, 1},
        {"sest\n" + bank(6, 6).substr(2), LOAD_NO_NUMBER, 1},
        {"\n\n  x6\n", LOAD_NO_NUMBER, 3},
        {"\n\n\n", LOAD_NO_NUMBER, 3},
        {"- 6\n" + bank(6, 6).substr(2), LOAD_NO_NUMBER, 1},
        {"\x1a"
         "6\n" +
             bank(6, 6).substr(2),
         LOAD_NO_NUMBER, 1},
        {bank(5, 6), LOAD_TOO_FEW, 1},
        {"\n-7 otazok\n" + bank(6, 6).substr(2), LOAD_TOO_FEW, 2},
        {"0x10\n" + bank(6, 6).substr(2), LOAD_TOO_FEW, 1},
        {"4294967302\n" + bank(6, 6).substr(2), LOAD_BLOCKS_MISSING, 31},
        {"6", LOAD_HEADER_CUT, 1},
        {"6 otazok", LOAD_HEADER_CUT, 1},
        {"6 \x1a\n" + bank(6, 6).substr(2), LOAD_HEADER_CUT, 1},
        {bank(6, 2) + "Otazka bez konca", LOAD_QUESTION_CUT, 12},
        {bank(6, 2) + "Prvy riadok\t", LOAD_QUESTION_CUT, 12},
        {bank(6, 2) + "Prvy riadok\tdruhy", LOAD_QUESTION_CUT, 12},
        {bank(6, 5), LOAD_BLOCKS_MISSING, 26},
        {bank(6, 5) + "\x1a" + block("Q"), LOAD_BLOCKS_MISSING, 26},
        {bank(6, 4) + "Q\nsama", LOAD_BLOCKS_MISSING, 23},
        {bank(60, 50), LOAD_BLOCKS_MISSING, 251},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(load_text(c.text), 1);
        expect_refused(c.why, c.line);
    }
}

// A missing file is not read: no line, no set, and the history left alone.
TEST(QuestionLoad, MissingFile) {
    ASSERT_EQ(load_text(bank(6, 6)), 0);
    recent_questions[2] = 4;
    EXPECT_EQ(load_question_file((scratch_dir() + "/nie-je-tu.txt").c_str()), 1);
    expect_refused(LOAD_NOT_OPENED, 0);
    EXPECT_EQ(recent_questions[2], 4);
}

// Every load releases the set it replaces, and a successful one empties the history.
TEST(QuestionLoad, SetReplacedAndHistoryEmptied) {
    ASSERT_EQ(load_text(bank(8, 8)), 0);
    for (int i = 0; i < 5; i++)
        recent_questions[i] = i + 2;
    ASSERT_EQ(load_text(bank(7, 7) + "x"), 0);
    EXPECT_EQ(question_count, 7);
    for (int entry : recent_questions)
        EXPECT_EQ(entry, -1);
    EXPECT_EQ(load_text(bank(7, 6)), 1);
    EXPECT_EQ(question_set, nullptr);
    ASSERT_EQ(load_text(bank(6, 6)), 0);
    EXPECT_EQ(question_count, 6);
}

// The level at the load picks the tier file from the working directory.
TEST(QuestionTier, LevelChoosesFile) {
    ASSERT_EQ(chdir(scratch_dir().c_str()), 0);
    const char *names[] = {"lahke.txt", "stredne.txt", "tazke.txt"};
    for (int t = 0; t < 3; t++)
        write_file(names[t], bank(6 + t, 6 + t));
    const int levels[] = {1, 6, 11};
    for (int t = 0; t < 3; t++) {
        level = levels[t];
        EXPECT_STREQ(tier_file_name(level), names[t]);
        ASSERT_EQ(load_tier(), 0);
        EXPECT_EQ(question_count, 6 + t);
        EXPECT_STREQ(load_file_name, names[t]);
    }
    std::remove((scratch_dir() + "/stredne.txt").c_str());
    level = 6;
    EXPECT_EQ(load_tier(), 1);
    EXPECT_EQ(question_set, nullptr);
}

// The message names the file, and for a file that was read, its line and the reason.
TEST(QuestionTier, FailureMessage) {
    char text[512];
    std::string long_answer(25, 'a');
    load_text(bank(6, 1) + block("Q", long_answer));
    tier_failure_message(text, sizeof text);
    EXPECT_EQ(std::string(text),
              "Nemozem nacitat otazky zo suboru " + scratch_dir() +
                  "/q.txt\nChyba na riadku 8: odpoved je dlhsia ako 24 bajtov\n");
    load_question_file("lahke.txt-nie");
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text, "Nemozem nacitat otazky zo suboru lahke.txt-nie\n");
    char tiny[12];
    tier_failure_message(tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "Nemozem nac");
    for (int why = LOAD_NOT_OPENED; why < LOAD_REFUSAL_COUNT; why++)
        for (const char *c = refusal_text(why); *c; c++)
            EXPECT_TRUE(*c > 0 && *c < 127) << "plain ASCII only: " << refusal_text(why);
}

// A failed tier ends the program with status 1 after showing the message.
TEST(QuestionTierDeathTest, EndsWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    headless_init();
    ASSERT_EQ(chdir(scratch_dir().c_str()), 0);
    write_file("tazke.txt", "5\n");
    level = 11;
    ASSERT_EQ(load_tier(), 1);
    // The library shows messages on standard output here; the death test reads standard error.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            end_on_tier_failure();
        },
        testing::ExitedWithCode(1),
        "Nemozem nacitat otazky zo suboru tazke.txt\nChyba na riadku 1: pocet otazok je mensi");
}

static std::vector<std::pair<int, std::string>> findings;
static void collect(int line, const char *text) {
    findings.emplace_back(line, text);
}

static std::vector<std::pair<int, std::string>> review_file(const std::string &path) {
    findings.clear();
    if (load_question_file(path.c_str()) == 0)
        review_question_set(collect);
    return findings;
}

// Each warning on its own line; a clean file has none.
TEST(QuestionReview, WarningsOnTheirLines) {
    std::string dir = REBRIK_TEST_DATA_DIR "/questions/";
    EXPECT_TRUE(review_file(dir + "clean.txt").empty());
    EXPECT_EQ(load_refusal, LOAD_OK);
    std::vector<std::pair<int, std::string>> expected = {
        {3, "spravna odpoved je prazdna, otazka sa neda vyhrat"},
        {10, "nespravna odpoved je prazdna"},
        {15, "odpoved je rovnaka ako na riadku 14"},
        {17, "otazka uz je v subore na riadku 2"},
        {23, "text nie je platne UTF-8"},
        {27, "riadok otazky ma 54 znakov, do ramceka sa zmesti 51"},
    };
    EXPECT_EQ(review_file(dir + "warnings.txt"), expected);
}

// Width counts characters, not bytes: 51 fit the box, 52 do not, in either display line; a
// question is the same only with the same lines.
TEST(QuestionReview, WidthAndSameQuestion) {
    std::string fits(51, 'w'), wide(52, 'w');
    load_text(bank(7, 5) + block(fits + "\t" + wide) + block(wide));
    findings.clear();
    review_question_set(collect);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].first, 27);
    EXPECT_EQ(findings[1].first, 32);
    // "A" as one line, as "A" + "" on two lines, and as "A" + "B" are three questions.
    load_text(bank(6, 3) + block("A") + block("A\t") + block("A\tB"));
    findings.clear();
    review_question_set(collect);
    EXPECT_TRUE(findings.empty());
}

// UTF-8 is valid only in its shortest form, without surrogates, up to U+10FFFF.
TEST(QuestionReview, Utf8Validity) {
    struct Case {
        const char *text;
        int chars, valid;
    } cases[] = {
        {"abc", 3, 1},
        {"čšž ÄÔ", 6, 1},
        {"\xE2\x82\xAC", 1, 1},     // euro sign
        {"\xF0\x9F\x98\x80", 1, 1}, // four bytes
        {"\xC0\xAF", 2, 0},         // overlong slash
        {"\xE0\x80\xAF", 3, 0},     // overlong, three bytes
        {"\xED\xA0\x80", 3, 0},     // surrogate
        {"\xF4\x90\x80\x80", 4, 0}, // past U+10FFFF
        {"a\xC4", 2, 0},            // cut at the end
        {"\xC4z", 2, 0},            // cut before an ASCII letter
        {"\x80", 1, 0},             // a lone continuation byte
        {"\xE1\x80", 2, 0},
    };
    for (const Case &c : cases) {
        int valid = 1;
        EXPECT_EQ(utf8_length(c.text, &valid), c.chars) << c.text;
        EXPECT_EQ(valid, c.valid) << c.text;
    }
}
