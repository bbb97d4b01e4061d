// Question files: loads and refusals at each limit, the draw's probe and shuffle, the reviews.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include "harness/harness.h"

// Writes the text to a file of that name in a fresh working folder and loads it.
static int load_text(const std::string &text, const char *name = "q.txt") {
    bool ready = chdir(scratch_folder("questions").c_str()) == 0;
    std::ofstream(name, std::ios::binary) << text;
    return ready ? load_question_file(name) : -1;
}

// k blocks whose questions ask "Otazka i?", answers "ai" to "di", the first numbered from.
static std::string blocks(int k, int from = 0) {
    std::string text;
    for (int i = from; i < from + k; i++)
        for (const char *part : {"Otazka ", "?\na", "\nb", "\nc", "\nd"})
            text += part + std::to_string(i) + (part[1] == 'd' ? "\n" : "");
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
    const std::string six = "6\n" + blocks(5), q54(54, 'q'), a24(24, 'a'), bom = "\xEF\xBB\xBF";
    const std::string fifth = "Otazka 5?|a5|b5|c5|d5"; // the sixth of blocks(6)
    // the file, its last record loaded; LOAD_OK and the count loaded, or the refusal and its line
    const std::tuple<std::string, std::string, int, int> cases[] = {
        // CR LF loads as LF; a lone CR stays, and so does a second TAB, in line2.
        {six + "Dva\triadky\tx\r\nA\rB\r\nb\nc\nd\n", "Dva/riadky\tx|A\rB|b|c|d", LOAD_OK, 6},
        {"\n\r\n+6 otazok\n" + blocks(6), fifth, LOAD_OK, 6}, // header text skipped
        {six + "Q\na\nb\nc\nd", "Q|a|b|c|d", LOAD_OK, 6},     // no LF after the last answer
        {"7\n" + blocks(8) + "\tnie\n", "Otazka 6?|a6|b6|c6|d6", LOAD_OK, 7}, // the first seven
        {six + "Q\na\x1a" + "b\nc\nd\n" + blocks(2), "Q|a|||", LOAD_OK, 6}, // Ctrl-Z ends the file
        {six + q54 + "\t" + q54 + "\n" + a24, q54 + "/" + q54 + "|" + a24 + "|||", LOAD_OK, 6},
        // a UTF-8 byte-order mark at the very start is skipped; cut short or later, no number
        {bom + "6\r\n" + blocks(6), fifth, LOAD_OK, 6},
        {bom.substr(0, 2) + "6\n" + blocks(6), "", LOAD_NO_NUMBER, 1},
        {"\n" + bom + "6\n" + blocks(6), "", LOAD_NO_NUMBER, 2},
        {"\n\n  x6\n" + blocks(6), "", LOAD_NO_NUMBER, 3},
        {std::string(1, '\0') + "6\n" + blocks(6), "", LOAD_NO_NUMBER, 1},
        {std::string{'6', 0, '\n', 0} + blocks(6), "", LOAD_UTF16, 1}, // UTF-16 without its mark
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
    for (const auto &[text, last, why, want] : cases) {
        int result = load_text(text), number = why ? load_refusal_line : question_count;
        const QuestionRecord *r = question_set ? &question_set[question_count - 1] : nullptr;
        EXPECT_EQ(std::tuple(result, load_refusal, number,
                             r ? shown(r->line1, r->line2, r->line_count, r->answers) : ""),
                  std::tuple(why != LOAD_OK, why, want, last))
            << text.substr(0, 40);
    }
}

// The tier messages name the file, then the line and reason when the file was read, each ending
// in a line feed.
TEST(QuestionLoad, TierMessages) {
    char text[128];
    EXPECT_TRUE(load_question_file("nie-je-tu.txt") == 1 && !load_refusal_line && !question_set);
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text, "Nemozem nacitat otazky zo suboru nie-je-tu.txt\n");
    EXPECT_TRUE(load_question_file(".") == 1 && !load_refusal_line);
    tier_failure_message(text, sizeof text);
    EXPECT_STREQ(text,
                 "Nemozem nacitat otazky zo suboru .\nChyba: na mieste suboru je priecinok\n");
    EXPECT_EQ(load_text("6\n" + blocks(1) + "Q\n" + std::string(25, 'a') + "\n", "tazke.txt"), 1);
    level = 11;
    ASSERT_EQ(load_tier(), 1);
    headless_init(); // the library shows the message on standard output here
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), end_on_tier_failure()),
                testing::ExitedWithCode(1),
                "^Nemozem nacitat otazky zo suboru tazke.txt\n"
                "Chyba na riadku 8: odpoved je dlhsia ako 24 bajtov\n$");
}

// A Windows-1250 copy of a file plays as its UTF-8 original: its question with diacritics in two
// lines and its answers show the same board to the pixel.
TEST(QuestionLoad, Windows1250PlaysAsUtf8) {
    ASSERT_EQ(load_test_images(), 0);
    BITMAP *original = create_bitmap(640, 480);
    for (const char *name : {"clean.txt", "clean-1250.txt"}) {
        std::string path = REBRIK_TEST_DATA_DIR "/questions/" + std::string(name);
        ASSERT_EQ(load_question_file(path.c_str()), 0);
        script_rand({0, 1, 2, 3, 4});
        draw_question();
        draw_text_layer(TEXT_QUESTION);
        if (name[5] == '.')
            blit(text_layer, original, 0, 0, 0, 0, 640, 480);
    }
    EXPECT_EQ(count_differences(original, text_layer), 0);
    destroy_bitmap(original);
}

// The draw takes the question at rand() % count, or the first upward not in the history,
// wrapping to 0, into history entry level % 5; answer p goes to slot rand() % 4, or the first
// free one after it, wrapping from D to A; the correct slot is where the first answer went. Texts
// are copied as they stand; states reset, and a load empties the history.
TEST(QuestionDraw, ProbeAndShuffle) {
    struct Case {
        int count, history[5], numbers[5]; // the slots' rand() for answers 1 to 4, the start's
        int question, correct;
        const char *board;
    };
    const Case cases[] = {
        {10, {-1, -1, -1, -1, -1}, {0, 0, 0, 0, 3}, 3, 0, "Otazka 3?|a3|b3|c3|d3"},
        {10, {-1, -1, 3, 4, -1}, {3, 2, 1, 0, 13}, 5, 3, "Otazka 5?|d5|c5|b5|a5"},
        {6, {0, 1, 2, 4, 5}, {6, 5, 4, 7, 10}, 3, 2, "Otazka 3?|c3|b3|a3|d3"},
        {10, {8, 9, -1, -1, 7}, {3, 3, 3, 3, 9}, 0, 3, "Dva/%s %n||b|c|%d"},
        {10, {-1, -1, -1, -1, -1}, {1, 3, 3, 1, 0}, 0, 1, "Dva/%s %n|b|%d|c|"},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(0, load_text(std::to_string(c.count) + "\nDva\t%s %n\n%d\n\nb\nc\n" +
                               blocks(c.count - 1, 1)));
        EXPECT_EQ(std::count(recent_questions, recent_questions + 5, -1), 5);
        std::copy(c.history, c.history + 5, recent_questions);
        level = 7;
        script_reset();
        script_rand(std::vector<int>(c.numbers, c.numbers + 5));
        answer_state[3] = 2;
        draw_question();
        EXPECT_EQ(std::tuple(recent_questions[2], answer_state[3], rand_taken, correct_slot,
                             shown(shown_question.line1, shown_question.line2, question_lines,
                                   shown_question.answer_text)),
                  std::tuple(c.question, 0, 5, c.correct, std::string(c.board)));
    }
}

// The questions met in earlier games, by number, for the draw to ask about.
static std::vector<int> met_numbers;
static bool met_number(const QuestionRecord &q) {
    return std::count(met_numbers.begin(), met_numbers.end(), int(&q - question_set));
}

// The draw passes over questions met in earlier games as over those drawn before, while the tier
// has a question neither met nor drawn; with none left it draws as if none were met.
TEST(QuestionDraw, FreshQuestionsFirst) {
    // the met questions, the history, the probe's start, the question drawn, in a tier of eight
    const std::tuple<std::vector<int>, std::vector<int>, int, int> cases[] = {
        {{2, 3}, {}, 2, 4},
        {{2, 3}, {4, 6}, 3, 5},
        {{6, 7, 0}, {}, 6, 1},                 // wrapping past the last
        {{0, 1, 2, 3, 4, 5, 6, 7}, {3}, 3, 4}, // all met: the history alone
        {{0, 1, 2, 4, 5, 6, 7}, {3}, 5, 5},    // the one not met was drawn: the history alone
    };
    ASSERT_EQ(load_text("8\n" + blocks(8)), 0);
    use_met_questions(met_number);
    for (const auto &[met, history, start, want] : cases) {
        met_numbers = met;
        std::fill(recent_questions, recent_questions + 5, -1);
        std::copy(history.begin(), history.end(), recent_questions);
        level = 1;
        script_rand({0, 0, 0, 0, start});
        draw_question();
        EXPECT_EQ(recent_questions[1], want) << start;
    }
    use_met_questions(nullptr);
}

// A text of the check's cases that puts a folder, or a pipe, in the file's place.
static const std::string FOLDER = "<folder>", PIPE = "<pipe>";

// What the author's check finds in a text: the loader's findings and the review's, in line order,
// each "LINE e|w TEXT".
static std::string check_text(const std::string &text) {
    static std::multimap<int, std::string> found; // by line, each line's in the order found
    found.clear();
    load_text(text, text == FOLDER || text == PIPE ? "other.txt" : "q.txt");
    EXPECT_EQ(text == FOLDER ? mkdir("q.txt", 0700) : text == PIPE ? mkfifo("q.txt", 0600) : 0, 0);
    check_question_file("q.txt", [](int line, const char *finding, int error) {
        found.insert({line, (error ? " e " : " w ") + std::string(finding)});
    });
    review_question_set([](int line, const char *finding) {
        found.insert({line, " w " + std::string(finding)});
    });
    std::string out;
    for (const auto &[line, finding] : found)
        out += std::to_string(line) + finding + "\n";
    return out;
}

// The check names a block shifted by a missing or extra line once, on its first line; a last block
// cut short on the file's last line; a Windows-1250 file once, on its first line concerned; each
// warning of the review on its line: a character the font lacks once a line, a text wider than its
// place (an answer of 19 characters in 24 bytes fits, a half of 51 too) saying which place. (Every
// error of a file, a clean file: tools/check.)
TEST(QuestionCheck, EveryMistakeOnItsLine) {
    std::ifstream warnings(REBRIK_TEST_DATA_DIR "/questions/warnings.txt");
    const std::string cases[][2] = {
        // an answer missing in block 2: shifted from there on; the last block lacks its last
        {"6\n" + blocks(1) + "Otazka 1?\na\nb\nc\n" + blocks(4, 2), // 30 lines
         "7 w blok je asi posunuty: odpoved na riadku 11 konci otaznikom ako otazka (nechyba "
         "v bloku riadok?)\n"
         "30 w subor konci pred 4. odpovedou bloku: chybajuce hra ukaze prazdne\n"},
        // a line left over in block 2: block 3 starts on an answer
        {"6\n" + blocks(2) + "e\n" + blocks(4, 2),
         "12 w blok je asi posunuty: riadok otazky vyzera ako odpoved (nie je tu alebo vyssie "
         "riadok navyse?)\n"},
        // a long question without "?" among asking ones is no shift
        {"6\n" + blocks(2) + "Dokonči príslovie: Kto druhému jamu kope\nx\ny\nz\nw\n" +
             blocks(3, 3),
         ""},
        // Windows-1250, read converted: every letter and quote drawn
        {"6\n" + blocks(1) + "Otazka?\n" + "Kysl\xEDk\nh\xE9lium\nne\xF3n\n\x84\x8Eiara\x93\n" +
             blocks(4, 2),
         "8 w subor je v kodovani Windows-1250, hra ho prevedie: ulozte ho ako UTF-8 (Poznamkovy "
         "blok: Ulozit ako, Kodovanie UTF-8)\n"},
        // a NUL byte named once a line; an empty question line, an empty half
        {"6\n" + blocks(1) + std::string("O\0t\0azka?\na\nb\nc\nd\n", 18) +
             "\na\nb\nc\nd\nO?\t\na\nb\nc\nd\n" + blocks(2, 4),
         "7 w v riadku je bajt 0 (NUL): hra text od neho neukaze\n"
         "12 w riadok otazky je prazdny\n"
         "17 w druha polovica otazky (za TAB) je prazdna\n"},
        {std::string{'\xFF', '\xFE', '6', 0},
         "1 e subor je v kodovani UTF-16 (Unicode), hra cita UTF-8: ulozte ho ako UTF-8 "
         "(Poznamkovy blok: Ulozit ako, Kodovanie UTF-8)\n"},
        {FOLDER, "0 e na mieste suboru je priecinok\n"},
        {PIPE, "0 e na mieste suboru je nieco ine ako subor\n"},
        {std::string(8 << 20, '\n') + "6", "0 e subor je vacsi ako 8 MB\n"}, // 8 MiB and a byte
        {std::string(std::istreambuf_iterator<char>(warnings), {}),
         "3 w spravna odpoved je prazdna, otazka sa neda vyhrat\n"
         "10 w nespravna odpoved je prazdna\n"
         "15 w odpoved je rovnaka ako na riadku 14\n"
         "17 w otazka uz je v subore na riadku 2\n"
         "23 w text nie je platne UTF-8\n"
         "27 w druha polovica otazky (za TAB) ma 54 znakov, do ramceka sa zmesti 51\n"
         "37 w hra nevie nakreslit znak \"ǅ\" (U+01C5), ukaze namiesto neho ^\n"
         "38 w hra nevie nakreslit znak U+0009, ukaze namiesto neho ^\n"
         "40 w odpoved ma 20 znakov, na tlacidlo sa zmesti 19\n"
         "42 w riadok otazky ma 52 znakov, do ramceka sa zmesti 51\n"
         "47 w prva polovica otazky (pred TAB) ma 52 znakov, do ramceka sa zmesti 51\n"},
    };
    for (const auto &[text, want] : cases)
        EXPECT_EQ(check_text(text), want) << text;
}

// --otazky DIR, relative to the working directory or after ~ (HOME, else the user's home), plays
// the tier files of DIR, each named with its absolute path in message Q: no stredne.txt fails at 6.
TEST(QuestionFolder, OwnQuestionsByCommandLine) {
    const std::string base = game_folder(), own = base + "/own/";
    ASSERT_EQ(headless_load(base.c_str()), 0);
    std::filesystem::create_directory(own);
    for (std::string name : {"lahke.txt", "tazke.txt"})
        std::filesystem::copy(base + "/" + name, own + name);
    const std::string home = getenv("HOME");
    setenv("HOME", base.c_str(), 1); // a leading ~ is the home folder, as in a shell;
    // "." and "name/.." steps are left out, so the folder has one name however typed
    for (const char *arg : {"--otazky=own", "--otazky=~/own", "--otazky=./x/../own/."}) {
        char *args[] = {(char *)"rebrik", (char *)arg};
        ASSERT_EQ(parse_command_line(2, args), -1);
        level = 1;
        EXPECT_TRUE(load_tier() == 0 && load_file_name == own + "lahke.txt") << load_file_name;
        level = 6; // question 6 loads the next tier
        EXPECT_TRUE(load_tier() == 1 && load_file_name == own + "stredne.txt") << load_file_name;
    }
    unsetenv("HOME");
    char *args[] = {(char *)"rebrik", (char *)"--otazky=~/own"};
    EXPECT_TRUE(parse_command_line(2, args) == -1 &&
                question_folder_path() == std::string(getpwuid(getuid())->pw_dir) + "/own");
    setenv("HOME", home.c_str(), 1);
}
