// Bad question files, also as a tier file changed mid-game: the game ends with its message and
// status 1 or plays normally, rebrik-check names the line, and nothing crashes, hangs or reads
// past a field (the sanitized build runs these too).
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#include "app/app.h"
#include "game/game.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "questions/questions.h"

using namespace std::string_literals; // "..."s keeps the NUL bytes inside

static int answer_right(void) {
    script_click_area(correct_slot);
    script_click_area(AREA_ANO);
    return play_turn();
}

// Writes the bytes to the file; no bytes, no file.
static void put(const std::string &path, const std::string &bytes) {
    std::remove(path.c_str());
    if (!bytes.empty())
        std::ofstream(path, std::ios::binary) << bytes;
}

// Bad files are refused on the same line by the game (status 1) and rebrik-check, or play.
TEST(BadQuestionFilesDeathTest, RefusedOrPlayed) {
    std::string odd = std::string(3000, '\n') + "6" + std::string(5000, ' ') + "\0 otazok\n"s;
    for (int i = 0; i < 6; i++)
        odd += "Q\0skryte\t%s%n\nano \xC4\xFF\xFE\x80\x01\x7f\nnie\0x\na\rb %d%%\n\xE2\x82\n"s;
    const std::string block = "Otazka\nano\na\nb\nc\n";
    const struct {
        std::string bytes; // empty: no file
        int line, why;
    } table[] = {
        // what the loader tests miss; the last one plays as the first and hard tiers
        {"", 0, LOAD_NOT_OPENED},
        {"6\n" + std::string(5000, 'x') + "\n" + block, 2, LOAD_QUESTION_TOO_LONG},
        {"\0"s + "6\n" + block, 1, LOAD_NO_NUMBER},
        {"6\rOtazka\rano\ra\rb\rc\r", 1, LOAD_HEADER_CUT},
        {"2147483647\n" + block, 6, LOAD_BLOCKS_MISSING},
        {odd + "\x1a\xff\xfe", 0, LOAD_OK},
    };
    std::mt19937 rng(20240607);
    std::string dir = make_game_folder(), command = REBRIK_BUILD_DIR "/rebrik-check", want, got;
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    for (int i = 0; i < 206; i++) {
        std::string path = dir + "/case-" + std::to_string(i), bytes = i < 6 ? table[i].bytes : "";
        for (int n = i < 6 ? 0 : int(rng() % 3000); n > 0; n--) { // half LF-rich, without ^Z
            char c = char(rng() % 256);
            bytes += i % 4 < 2 ? c : rng() % 8 == 0 ? '\n' : c == '\x1a' ? 'x' : c;
        }
        bytes = (i >= 6 && i % 2 ? "6\n" : "") + bytes;
        put(path, bytes);
        command += " " + path;
        load_question_file(path.c_str());
        std::string at = load_refusal_line ? ":" + std::to_string(load_refusal_line) : "";
        want += load_refusal ? path + at + ": error: " + refusal_text(load_refusal) + "\n" : "";
        EXPECT_LE(load_refusal_line, 1 + std::count(bytes.begin(), bytes.end(), '\n')) << i;
        for (int q = 0; q < question_count; q++) { // every text ends inside its field
            const QuestionRecord &r = question_set[q];
            int ends =
                !!std::memchr(r.line1, 0, 55) + (r.line_count == 1 || std::memchr(r.line2, 0, 55));
            for (const char *a : r.answers)
                ends += !!std::memchr(a, 0, ANSWER_MAX + 1);
            EXPECT_EQ(ends, 6) << "file " << i << ", question " << q;
        }
        for (const char *tier : {"lahke.txt", "tazke.txt"}) { // at the start; on reaching it
            if (i >= 6 || table[i].why == LOAD_OK)
                break;
            script_reset();
            script_click(470, 10);
            if (tier[0] == 't')
                new_game();
            put(dir + "/" + tier, bytes);
            while (tier[0] == 't' && level < 10)
                ASSERT_EQ(answer_right(), 0);
            EXPECT_EXIT((dup2(2, 1), tier[0] == 'l' ? new_game() : (void)answer_right()),
                        ::testing::ExitedWithCode(1),
                        "Nemozem nacitat otazky zo suboru "s + tier + "\n" +
                            (table[i].line ? "Chyba na riadku " + std::to_string(table[i].line) +
                                                 ": " + refusal_text(table[i].why)
                                           : ""));
            put(dir + "/" + tier, table[5].bytes); // and the loadable file from now on
        }
    }
    FILE *out = popen(command.c_str(), "r");
    char line[4096];
    while (out && std::fgets(line, sizeof line, out))
        got += std::strstr(line, ": error: ") ? line : "";
    EXPECT_EQ(got, want);
    EXPECT_EQ(out ? pclose(out) : -1, 1 << 8) << "rebrik-check ends with status 1";
    script_reset();
    watch_start(); // dismisses the final screen
    script_click(470, 10);
    new_game();
    for (int area : {AREA_FIFTY, AREA_SWITCH, AREA_THIRD})
        EXPECT_EQ((script_click_area(area), play_turn()), 0);
    while (answer_right() == 0)
        ASSERT_LT(level, 16);
    EXPECT_EQ(level, 16);
    EXPECT_EQ(watch.finals.size(), 1u);
    std::filesystem::remove_all(dir);
}
