// Bad question files and a changing working folder: the game ends with its message and status 1
// or plays normally, rebrik-check names the line, and nothing crashes, hangs or reads past a
// field (the sanitized build runs these too).
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "questions/questions.h"

namespace fs = std::filesystem;

// A string literal's bytes, NUL bytes inside it included.
template <size_t N> static std::string bytes_of(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

static void write_bytes(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// n blocks of five LF-ended lines; question i is "Otazka i".
static std::string blocks(int n) {
    std::string text;
    for (int i = 0; i < n; i++)
        text += "Otazka " + std::to_string(i) + "\nano\nnie 1\nnie 2\nnie 3\n";
    return text;
}

static std::string with_line_ends(std::string text, char end) {
    for (char &c : text)
        if (c == '\n')
            c = end;
    return text;
}

// Leaves a game folder and removes it.
static void remove_folder(const std::string &dir) {
    if (chdir("/") == 0)
        fs::remove_all(dir);
}

// The game's pictures and the test banks in a folder of this program, loaded once.
static const std::string &game_folder(void) {
    static std::string dir = make_game_folder();
    return dir;
}

// Runs rebrik-check on the files; returns its standard output, and its exit status in *status
// (-1 when it did not exit normally, as after a crash).
static std::string run_checker(const std::vector<std::string> &files, int *status) {
    std::string command = REBRIK_BUILD_DIR "/rebrik-check";
    for (const std::string &f : files)
        command += " '" + f + "'";
    FILE *out = popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    size_t n;
    while (out && (n = std::fread(buffer, 1, sizeof buffer, out)) > 0)
        text.append(buffer, n);
    int raw = out ? pclose(out) : -1;
    *status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return text;
}

struct Refused {
    const char *what;
    std::string bytes;
    int line, why;
};

// Files refused where the existing loader tests do not already reach: lines too long by
// thousands of bytes, NUL and CR-only line ends in the header, CR-only line ends in the blocks,
// zero, and the largest N with six blocks.
static std::vector<Refused> refused_files(void) {
    std::string huge(5000, 'x');
    return {
        {"question line 5000 bytes", "6\n" + blocks(2) + huge + "\na\nb\nc\nd\n", 12,
         LOAD_QUESTION_TOO_LONG},
        {"second display line 5000 bytes", "6\n" + blocks(2) + "Q\t" + huge + "\na\nb\nc\nd\n", 12,
         LOAD_QUESTION_TOO_LONG},
        {"answer 5000 bytes", "6\n" + blocks(2) + "Q\na\nb\n" + huge + "\nd\n", 15,
         LOAD_ANSWER_TOO_LONG},
        {"NUL before the number", bytes_of("\0") + "6\n" + blocks(6), 1, LOAD_NO_NUMBER},
        {"CR-only line ends", with_line_ends("6\n" + blocks(6), '\r'), 1, LOAD_HEADER_CUT},
        {"CR-only line ends after the header", "6\n" + with_line_ends(blocks(6), '\r'), 2,
         LOAD_QUESTION_TOO_LONG},
        {"zero questions", "0\n", 1, LOAD_TOO_FEW},
        {"the largest N", "2147483647\n" + blocks(6), 31, LOAD_BLOCKS_MISSING},
    };
}

// Each refused file ends the game before its first frame with the file's name, the line and
// the reason, and status 1; rebrik-check names the same line with the same reason.
TEST(BadQuestionFilesDeathTest, RefusedWithFileLineAndReason) {
    ASSERT_EQ(headless_load(game_folder().c_str()), 0);
    std::vector<std::string> paths;
    std::string expected_report;
    for (const Refused &r : refused_files()) {
        SCOPED_TRACE(r.what);
        std::string path = game_folder() + "/lahke.txt";
        write_bytes(path, r.bytes);
        char reason[160];
        std::snprintf(reason, sizeof reason, "Chyba na riadku %d: %s\n", r.line,
                      refusal_text(r.why));
        EXPECT_EXIT(
            {
                dup2(2, 1); // the library writes its message to standard output
                script_reset();
                new_game();
            },
            ::testing::ExitedWithCode(1),
            std::string("Nemozem nacitat otazky zo suboru lahke.txt\n") + reason);
        paths.push_back(game_folder() + "/refused-" + std::to_string(paths.size()) + ".txt");
        write_bytes(paths.back(), r.bytes);
        expected_report +=
            paths.back() + ":" + std::to_string(r.line) + ": error: " + refusal_text(r.why) + "\n";
    }
    fs::copy_file(REBRIK_TEST_DATA_DIR "/game/lahke.txt", game_folder() + "/lahke.txt",
                  fs::copy_options::overwrite_existing);
    int status = 0;
    EXPECT_EQ(run_checker(paths, &status), expected_report);
    EXPECT_EQ(status, 1);
}

// Six blocks whose texts are random bytes of every value but LF and Ctrl-Z (TAB splits a
// question, so any TAB in it is kept within the limits of both parts).
static std::string random_blocks(std::mt19937 &rng) {
    auto text = [&](int max) {
        std::string t;
        for (int n = int(rng() % (max + 1)); n > 0; n--) {
            char c = char(rng() % 256);
            t += c == '\n' || c == '\x1a' || c == '\t' ? 'x' : c;
        }
        return t;
    };
    std::string out;
    for (int i = 0; i < 6; i++) {
        out += text(QUESTION_LINE_MAX);
        if (rng() % 2)
            out += "\t" + text(QUESTION_LINE_MAX);
        out += "\n";
        for (int k = 0; k < 4; k++)
            out += text(ANSWER_MAX) + "\n";
    }
    return out;
}

// One text with what an author's editor may leave in it: a NUL byte, bytes that are not UTF-8,
// control bytes, a lone CR and format characters.
static std::string odd_block(int i) {
    std::string q = "Otazka " + std::to_string(i);
    return q + bytes_of(" pred\0po NUL\tdruhy\triadok %s%n\n") +
           bytes_of("ano \xC4\xFF\xFE\x80\x01\x7f\n") + bytes_of("nie\0skryte\n") + "a\rb %d%%\n" +
           "\xE2\x82\n";
}

// Files the loader takes though they look wrong.
static std::vector<std::string> loadable_odd_files(void) {
    std::string odd;
    for (int i = 0; i < 6; i++)
        odd += odd_block(i);
    std::mt19937 rng(11);
    return {
        "6" + std::string(5000, ' ') + "tisic medzier za cislom\n" + blocks(6),
        bytes_of("6\0 otazok\n") + odd,
        std::string(3000, '\n') + "6\n" + blocks(6) + "\x1a" + std::string(200, '\xff'),
        "6\n" + random_blocks(rng),
        "+6\r\n" + blocks(5) + "Q\nbez konca riadku",
        "6\n" + random_blocks(rng),
    };
}

// Answers every question right, using each lifeline once on the way, and dismisses the final
// screen with the right button.
static void play_to_the_top(void) {
    script_reset();
    script_click(470, 10);
    new_game();
    for (int area : {AREA_FIFTY, AREA_SWITCH, AREA_THIRD}) {
        script_click_area(area);
        ASSERT_EQ(play_turn(), 0);
    }
    while (level < 15) {
        script_click_area(correct_slot);
        script_click_area(AREA_ANO);
        ASSERT_EQ(play_turn(), 0);
    }
    script_click_area(correct_slot);
    script_click_area(AREA_ANO);
    script_idle(400); // the blink and the final screen's fade-in
    script_hold({300, 300, 2, 0}, 2);
    EXPECT_EQ(play_turn(), 1);
    EXPECT_EQ(level, 16);
}

// Files with thousands of bytes after the header's number, a NUL after it, NUL bytes, invalid
// UTF-8, control bytes and random bytes in the texts, thousands of empty lines before the
// header, Ctrl-Z before binary garbage, or no final line feed load and play whole games, and
// rebrik-check refuses none of them.
TEST(BadQuestionFiles, OddButLoadableFilesPlay) {
    std::vector<std::string> files = loadable_odd_files();
    std::vector<std::string> paths;
    for (size_t i = 0; i < files.size(); i++) {
        paths.push_back(game_folder() + "/odd-" + std::to_string(i) + ".txt");
        write_bytes(paths.back(), files[i]);
        EXPECT_EQ(load_question_file(paths.back().c_str()), 0) << "file " << i;
        EXPECT_EQ(question_count, 6) << "file " << i;
    }
    int status = 0;
    std::string report = run_checker(paths, &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_EQ(report.find(": error:"), std::string::npos) << report;
    std::string dir = make_game_folder();
    for (size_t game = 0; game < files.size(); game += 3) {
        SCOPED_TRACE("files from " + std::to_string(game));
        for (int t = 0; t < 3; t++)
            write_bytes(dir + "/" + tier_file_name(1 + 5 * t), files[game + t]);
        ASSERT_EQ(headless_load(dir.c_str()), 0);
        play_to_the_top();
    }
    remove_folder(dir);
}

// Random bytes, with and without a header in front: each load ends in success or a refusal on
// a line of the file, every loaded text ends inside its field, and rebrik-check reports every
// file without crashing, naming the line the loader found.
TEST(BadQuestionFiles, RandomBinary) {
    std::mt19937 rng(20240607);
    std::vector<std::string> paths;
    std::string expected_errors;
    int loaded = 0;
    for (int i = 0; i < 200; i++) {
        std::string bytes = i % 4 == 0 ? "" : "6\n";
        int lf_every = i % 4 == 2 ? 8 : 0; // frequent line feeds: some files get far, some load
        for (int n = int(rng() % 3000); n > 0; n--) {
            char c = char(rng() % 256);
            bytes += lf_every && rng() % lf_every == 0 ? '\n' : lf_every && c == 26 ? 'x' : c;
        }
        if (i % 4 == 3)
            bytes = "6\n" + random_blocks(rng) + bytes;
        paths.push_back(game_folder() + "/random-" + std::to_string(i) + ".txt");
        write_bytes(paths.back(), bytes);
        int lines = 1;
        for (char c : bytes)
            lines += c == '\n';
        if (load_question_file(paths.back().c_str()) == 0) {
            loaded++;
            ASSERT_GE(question_count, MIN_QUESTIONS);
            for (int q = 0; q < question_count; q++) {
                const QuestionRecord &r = question_set[q];
                EXPECT_NE(std::memchr(r.line1, 0, sizeof r.line1), nullptr);
                EXPECT_TRUE(r.line_count == 1 || r.line_count == 2);
                if (r.line_count == 2) {
                    EXPECT_NE(std::memchr(r.line2, 0, sizeof r.line2), nullptr);
                }
                for (const char *a : r.answers)
                    EXPECT_NE(std::memchr(a, 0, ANSWER_MAX + 1), nullptr);
            }
            continue;
        }
        EXPECT_GT(load_refusal, LOAD_NOT_OPENED) << "file " << i;
        EXPECT_LT(load_refusal, LOAD_REFUSAL_COUNT) << "file " << i;
        EXPECT_GE(load_refusal_line, 1) << "file " << i;
        EXPECT_LE(load_refusal_line, lines) << "file " << i;
        expected_errors += paths.back() + ":" + std::to_string(load_refusal_line) +
                           ": error: " + refusal_text(load_refusal) + "\n";
    }
    EXPECT_GT(loaded, 20);
    EXPECT_LT(loaded, 150);
    int status = 0;
    std::string report = run_checker(paths, &status);
    EXPECT_EQ(status, 1);
    std::string errors;
    for (size_t at = 0, end; (end = report.find('\n', at)) != std::string::npos; at = end + 1) {
        std::string line = report.substr(at, end + 1 - at);
        if (line.find(": error: ") != std::string::npos)
            errors += line;
    }
    EXPECT_EQ(errors, expected_errors);
}

// A tier file removed or spoilt while a game runs ends the game on reaching its tier, with the
// message naming the file (and for a spoilt one the line) and status 1.
TEST(BadEnvironmentDeathTest, TierFileChangedDuringAGame) {
    struct Case {
        const char *file;
        const char *bytes; // null: removed
        int question;
        const char *message;
    } cases[] = {
        {"stredne.txt", nullptr, 6, "Nemozem nacitat otazky zo suboru stredne.txt\n"},
        {"tazke.txt", "6\nQ\na\nb\nc\nd\n", 11,
         "Nemozem nacitat otazky zo suboru tazke.txt\nChyba na riadku 6: subor ma menej"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        std::string dir = make_game_folder();
        ASSERT_EQ(headless_load(dir.c_str()), 0);
        script_reset();
        script_click(470, 10);
        new_game();
        if (c.bytes)
            write_bytes(dir + "/" + c.file, c.bytes);
        else
            ASSERT_EQ(std::remove((dir + "/" + c.file).c_str()), 0);
        while (level < c.question - 1) {
            script_click_area(correct_slot);
            script_click_area(AREA_ANO);
            ASSERT_EQ(play_turn(), 0);
        }
        EXPECT_EXIT(
            {
                dup2(2, 1);
                script_click_area(correct_slot);
                script_click_area(AREA_ANO);
                play_turn();
            },
            ::testing::ExitedWithCode(1), c.message);
        remove_folder(dir);
    }
}
