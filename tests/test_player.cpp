// Player data: the files' text, the standings, the store's safety under damage, kills and races.
#include <gtest/gtest.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include "player/files.h"
#include "harness/harness.h"
#include "player/player.h"

// A fresh home for player data in a scratch folder; the harness's own is back when the test ends.
struct PlayerHome {
    std::string root = scratch_folder("player"), results = root + "/data/rebrik/vysledky.txt";
    PlayerHome() {
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    }
};

static std::string read_text(const std::string &path) {
    std::string text;
    read_whole_file(path, &text, MAX_PLAYER_FILE);
    return text;
}

// The results file of home, which must read as sound.
static Results sound_results(const PlayerHome &home) {
    Results r;
    EXPECT_EQ(parse_results(read_text(home.results), &r), 0);
    return r;
}

static void write_text(const std::string &path, const std::string &text) {
    make_folders(path.substr(0, path.rfind('/') + 1));
    ASSERT_EQ(replace_file(path, text), 0);
}

// A child process recording games for ever, each one's number written to fd once recorded.
static pid_t start_writer(int fd) {
    pid_t pid = fork();
    if (pid == 0) {
        player_load();
        for (int i = 1;; i++) {
            player_record({"2026-12-07 10:00:00", 1, 0, ENDING_WRONG, 0}, {(uint64_t)i});
            if (write(fd, &i, sizeof i) != sizeof i)
                _exit(1);
        }
    }
    return pid;
}

// The files the results file at path was set aside as.
static std::vector<std::string> asides(const std::string &path) {
    std::vector<std::string> found;
    std::string folder = path.substr(0, path.rfind('/')), name = path.substr(folder.size() + 1);
    for (const auto &e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().rfind(name + ".poskodeny-", 0) == 0)
            found.push_back(e.path());
    return found;
}

// Every number the writers sent down the pipe so far.
static int acknowledged(int fd) {
    int n = 0, i;
    while (read(fd, &i, sizeof i) == sizeof i)
        n++;
    return n;
}

// The best ten: the highest kept row first, on a tie the earlier game; played, won and the
// average count every game.
TEST(Player, StandingsOrderAndCount) {
    Results r;
    for (int i = 0; i < 12; i++) // rows 0..11, each later in the day
        r.games.push_back(
            {"2026-12-07 10:" + std::to_string(10 + i) + ":00", i, i, ENDING_WALKED, 0});
    r.games.push_back({"2026-12-06 09:00:00", 15, 15, ENDING_WON, 0});
    r.games.push_back({"2026-12-05 09:00:00", 11, 11, ENDING_WRONG, 0}); // 11 too, earlier
    Standings s = standings_of(r);
    ASSERT_EQ(s.best.size(), 10u);
    EXPECT_TRUE(s.best[0].kept == 15 && s.best[9].kept == 4 && s.played == 14 && s.won == 1);
    EXPECT_EQ(s.best[1].when + s.best[2].when, "2026-12-05 09:00:002026-12-07 10:21:00");
    EXPECT_DOUBLE_EQ(s.average_row, (66 + 15 + 11) / 14.0);
    EXPECT_EQ(standings_of(Results()).average_row, 0.0);
}

// A file written is read back the same; a file is sound only with our header, every line ours
// and its last line feed; what parses of a damaged one is kept; a newer version is told apart.
TEST(Player, ResultsFileVerdicts) {
    Results r;
    r.games = {{"2026-12-07 10:00:00", 7, 5, ENDING_WRONG, 5}};
    add_met(&r.met, 0xfedcba9876543210ull);
    std::string text = format_results(r);
    Results back;
    ASSERT_EQ(parse_results(text, &back), 0);
    EXPECT_EQ(format_results(back), text);
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    // the text, its verdict, the games read
    const std::tuple<std::string, int, size_t> cases[] = {
        {"", 1, 0},
        {text.substr(0, text.size() - 1), 1, 1},                   // cut short: the met line lost
        {text.substr(0, text.find("otazka") + 9), 1, 1},           // cut inside a line
        {std::string(8, '\0') + text, 1, 0},                       // binary
        {"<html>\n" + text, 1, 0},                                 // foreign
        {text + "hra\t2026-12-07 10:00:00\t3\t5\tzla\t0\n", 1, 1}, // kept above reached
        {text + "hra\t2026-13-x7 10:00:00\t3\t0\tzla\t0\n", 1, 1}, // a bad date
        {"rebrik-vysledky 2\n" + text.substr(text.find('\n') + 1) + "nove\tpole\n", 2, 1},
        {text + "\n", 0, 1}, // an empty line is harmless
        {crlf, 0, 1},        // CR LF, as Windows edits it
    };
    for (const auto &[damaged, verdict, games] : cases) {
        EXPECT_EQ(parse_results(damaged, &back), verdict) << damaged;
        EXPECT_EQ(back.games.size(), games) << damaged;
    }
    // Questions met in any order, some twice: read sorted, each once.
    std::string met = "otazka\t00000000000000ff\notazka\t0000000000000001\n";
    ASSERT_EQ(parse_results("rebrik-vysledky 1\n" + met + met, &back), 0);
    EXPECT_EQ(back.met, (std::vector<uint64_t>{1, 255}));
}

// Settings: a line with an unknown key or a bad value is skipped and the rest kept, an unset
// value stays -1, a file without our header is damaged. A question is met once however often
// it comes, its split into lines is part of it, and only questions still in the bank count.
TEST(Player, SettingsAndQuestionsMet) {
    Settings s;
    EXPECT_EQ(parse_settings("rebrik-nastavenia 1\nticho=2\nfarba=1\ncela-obrazovka=1", &s), 0);
    EXPECT_TRUE(s.muted == -1 && s.fullscreen == 1);
    EXPECT_EQ(parse_settings("rebrik-nastavenia 1\nticho=1\nticho\n=1\ncela-obrazovka=01x\n", &s),
              0);
    EXPECT_TRUE(s.muted == 1 && s.fullscreen == -1);
    EXPECT_EQ(parse_settings("ticho=1\n", &s), 1);
    EXPECT_TRUE(parse_settings("rebrik-nastavenia 1\r\nticho=1\r\n", &s) == 0 && s.muted == 1);
    EXPECT_TRUE(parse_settings("rebrik-nastavenia 9\nticho=0\n", &s) == 2 && s.muted == 0);
    EXPECT_TRUE(parse_settings(format_settings({1, -1, 0}), &s) == 0 && s.muted == 1 &&
                s.fullscreen == -1 && s.calm == 0);
    std::vector<uint64_t> met;
    uint64_t a = question_hash("Ktorá rieka", "tečie?"),
             b = question_hash("Ktorá rieka tečie", "?");
    for (uint64_t h : {a, b, a})
        add_met(&met, h);
    EXPECT_EQ(met.size(), 2u);
    EXPECT_EQ(count_met(met, {b, question_hash("Iná", "")}), 1);
}

// A results file in each state a disk may hold it; a game starts on it and records one (or only
// prints the hall). A damaged file is set aside, never over another aside (two in one second),
// and what could be read of it begins the fresh file. What is no regular file, a newer version's
// file, one that cannot be set aside and one only printed stay as they are, the game kept in
// memory. A link is written through, and the file's permissions stay.
TEST(Player, StoreDamagedAndOtherFiles) {
    const std::string sound = "rebrik-vysledky 1\nhra\t2026-12-07 10:00:00\t3\t0\tzla\t0\n";
    enum { PLAIN, TWICE, DEEP, TOO_BIG, PIPE, DEV_ZERO, LINK, OWNER_ONLY };
    // what, how it is made, its text, only read; asides, games on disk after (-1: the file
    // untouched) and in memory
    const std::tuple<const char *, int, std::string, bool, size_t, int, size_t> cases[] = {
        {"damaged", PLAIN, sound + "hra\tzlomene\n", false, 1, 2, 2},
        {"damaged again in the same second", TWICE, sound + "y\n", false, 2, 2, 2},
        {"damaged, printed", PLAIN, sound + "x\n", true, 0, -1, 1},
        {"damaged, no aside name fits", DEEP, sound + "x\n", false, 0, -1, 2},
        {"too big", TOO_BIG, sound, false, 1, 1, 1},
        {"a pipe", PIPE, "", false, 0, -1, 1},
        {"a link to /dev/zero", DEV_ZERO, "", false, 0, -1, 1},
        {"a newer version's", PLAIN, "rebrik-vysledky 3\n" + sound.substr(18), false, 0, -1, 2},
        {"a link to a file elsewhere", LINK, sound, false, 0, 2, 2},
        {"its owner's alone", OWNER_ONLY, sound, false, 0, 2, 2},
    };
    for (const auto &[what, kind, text, only_read, asides_made, disk, memory] : cases) {
        PlayerHome home;
        std::string path = home.results, file = kind == LINK ? home.root + "/v.txt" : path;
        // so deep a folder that the file's path fits and the name it would be set aside as not
        for (std::string data = home.root; kind == DEEP && data.size() < 4060;
             setenv("XDG_DATA_HOME", data.c_str(), 1), path = file = data + "/rebrik/vysledky.txt")
            data += "/" + std::string(std::min<size_t>(200, 4059 - data.size()), 'd');
        make_folders(path.substr(0, path.rfind('/') + 1));
        if (kind == TWICE)
            write_text(file, "x\n"), player_load();
        if (kind == PIPE)
            mkfifo(path.c_str(), 0600);
        if (kind == DEV_ZERO || kind == LINK)
            symlink(kind == LINK ? file.c_str() : "/dev/zero", path.c_str());
        if (!text.empty())
            write_text(file, text);
        if (kind == TOO_BIG || kind == OWNER_ONLY)
            kind == TOO_BIG ? truncate(file.c_str(), MAX_PLAYER_FILE + 1)
                            : chmod(file.c_str(), 0600);
        std::string before_text = read_text(path);
        struct stat before, after;
        lstat(path.c_str(), &before);
        player_load(only_read);
        if (!only_read)
            player_record({"2026-12-07 12:00:00", 1, 0, ENDING_WALKED, 0}, {});
        lstat(path.c_str(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode) << what;
        Results r;
        if (disk < 0)
            EXPECT_EQ(read_text(path), before_text) << what;
        else
            EXPECT_TRUE(parse_results(read_text(path), &r) == 0 && (int)r.games.size() == disk)
                << what;
        EXPECT_EQ(player_results.games.size(), memory) << what;
        EXPECT_EQ(asides(path).size(), asides_made) << what;
    }
}

// Whatever keeps the file from being written or read (a write that fails as on a full disk, a
// file where the folder should be, a folder where the file should be) the game goes on: the
// result is kept in memory, the old file stays as it was, and the player is told once on
// standard error. Once the file can be written, the next game writes the run's games kept so far.
// Folders are made for the player alone.
TEST(Player, StoreThatCannotWrite) {
    PlayerHome home;
    write_text(home.results, "rebrik-vysledky 1\n");
    mkdir((home.results + ".novy").c_str(), 0755); // the new file cannot be made
    write_text(home.root + "/blocked", "");
    make_folders(home.root + "/folder/rebrik/vysledky.txt/");
    // as it is; the data folder's place taken by a file, the file's by a folder
    for (std::string data : {home.root + "/folder", home.root + "/blocked", home.root + "/data"}) {
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        testing::internal::CaptureStderr();
        player_load();
        player_record({"2026-12-07 10:00:00", 2, 0, ENDING_WRONG, 0}, {});
        player_record({"2026-12-07 10:05:00", 4, 0, ENDING_WRONG, 0}, {});
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(player_results.games.size(), 2u) << data;
    }
    EXPECT_EQ(read_text(home.results), "rebrik-vysledky 1\n");
    rmdir((home.results + ".novy").c_str());
    player_record({"2026-12-07 10:10:00", 1, 0, ENDING_WRONG, 0}, {});
    EXPECT_EQ(sound_results(home).games.size(), 3u);
    EXPECT_EQ(std::filesystem::status(home.root + "/data/rebrik").permissions(),
              std::filesystem::perms::owner_all);
}

// Two games writing at once, killed at any moment around a write, leave a file that reads as
// sound and holds every game whose record had returned (and at most the two being written).
// Every fifth time they start together on a damaged file: one sets it aside, once, and what
// could be read of it stays.
TEST(Player, KilledWritersLoseNothing) {
    PlayerHome home;
    int pipe_fd[2];
    ASSERT_EQ(pipe(pipe_fd), 0);
    fcntl(pipe_fd[0], F_SETFL, O_NONBLOCK);
    srand(7);
    int games = 0;
    for (int kill_no = 0; kill_no < 100; kill_no++) {
        if (kill_no % 5 == 0)
            write_text(home.results, read_text(home.results) + "x\n");
        pid_t writers[2] = {start_writer(pipe_fd[1]), start_writer(pipe_fd[1])};
        int acked = 0;
        while ((acked += acknowledged(pipe_fd[0])) < 2) // once they are writing
            usleep(100);
        usleep(rand() % 4000);
        for (pid_t pid : writers)
            kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        games += acked + acknowledged(pipe_fd[0]);
        Results r;
        ASSERT_EQ(asides(home.results).size(), kill_no / 5 + 1u) << "after kill " << kill_no;
        ASSERT_EQ(parse_results(read_text(home.results), &r), 0) << "after kill " << kill_no;
        ASSERT_LE(r.games.size() - games, 2u) << "after kill " << kill_no << ": " << games;
        games = r.games.size();
    }
    close(pipe_fd[0]);
    close(pipe_fd[1]);
}

// A game that reaches its final screen is kept with the row reached, the row kept, how it ended
// and the questions met; a game left by Escape is not.
TEST(Player, GamesOfPlayKeptOrNot) {
    ASSERT_EQ(headless_load(game_folder().c_str()), 0); // first: the harness sets a home of its own
    PlayerHome home;
    player_load();
    script_reset();
    EXPECT_EQ(play_words("go right right wrong"), 1);
    EXPECT_EQ(sound_results(home).met.size(), 3u); // no question comes twice in a tier
    EXPECT_EQ(play_words("go right fifty exit go right esc"), 1);
    Results r = sound_results(home);
    ASSERT_EQ(r.games.size(), 2u);
    EXPECT_TRUE(r.games[0].reached == 2 && r.games[0].kept == 0 &&
                r.games[0].ending == ENDING_WRONG && r.games[0].lifelines == 0);
    EXPECT_TRUE(r.games[1].reached == 1 && r.games[1].kept == 1 &&
                r.games[1].ending == ENDING_WALKED && r.games[1].lifelines == LIFELINE_FIFTY);
}
