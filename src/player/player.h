// Player data: the results of finished games, the questions met and the settings, kept in
// text files of the player's own. Plain C++ without the graphics library; only app calls it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// How a game that reached its final screen ended.
enum { ENDING_WON, ENDING_WRONG, ENDING_WALKED };

// One finished game.
struct GameResult {
    std::string when; // local time, "YYYY-MM-DD HH:MM:SS"
    int reached;      // the highest row answered, 0..15
    int kept;         // the row whose title the player keeps, 0..15
    int ending;       // ENDING_*
    int lifelines;    // the lifelines used, as the game's bit set
};

// Everything the results file holds.
struct Results {
    std::vector<GameResult> games; // in the order they were recorded
    std::vector<uint64_t> met;     // hashes of the questions met, sorted, each once
};

// What the hall of fame shows.
struct Standings {
    std::vector<GameResult> best; // at most ten: the highest kept row first, ties the earlier
    int played;
    int won;
    double average_row; // of the kept rows; 0 without games
};

// The remembered settings; -1 where the file says nothing.
struct Settings {
    int muted = -1;
    int fullscreen = -1;
    int calm = -1; // --pokojne
};

// Results file text: parse and format. parse_results returns 0 for a sound file, 1 for a
// damaged or foreign one (what parsed is still in *out), 2 for a newer version's file (what this
// version understands is in *out).
int parse_results(const std::string &text, Results *out);
std::string format_results(const Results &r);

// Settings file text: lines with an unknown key or a bad value are skipped. 0 for a file of
// ours (also with skipped lines), 1 for a damaged or foreign one, 2 for a newer version's.
int parse_settings(const std::string &text, Settings *out);
std::string format_settings(const Settings &s);

// The ten best, games played and won, and the average kept row.
Standings standings_of(const Results &r);
// A hash of a question's text: its two display lines joined by a TAB.
uint64_t question_hash(const char *line1, const char *line2);
// Adds a hash to a sorted list unless it is there already.
void add_met(std::vector<uint64_t> *met, uint64_t hash);
// How many of the hashes in bank are in met.
int count_met(const std::vector<uint64_t> &met, const std::vector<uint64_t> &bank);

// The hall the results belong to: "" (as at start) for the game's own questions, else the
// absolute folder of a question set of the player's own, which keeps results of its own. Before
// player_load.
void player_choose_hall(const std::string &question_folder);
// A question set's name: the last part of its folder's path.
std::string question_set_name(const std::string &folder);
// The files. player_load reads results and settings once, at start-up; a damaged file is moved
// aside under the lock with one line on standard error, unless only_read (which writes nothing).
// Never fails: without a folder nothing is kept, which is said once, on the first write.
void player_load(bool only_read = false);
// Records a finished game and the questions met since the last record: locks the results, reads
// them again (another game may have written), adds, and replaces the file atomically. A write
// that fails keeps the game in memory and is tried again with the next one.
void player_record(const GameResult &g, const std::vector<uint64_t> &met_now);
// Remembers the settings (only the values not -1 change).
void player_save_settings(const Settings &s);

// What player_load read and player_record keeps current; read-only for others.
extern Results player_results;
extern Settings player_settings;

// The local time now as "YYYY-MM-DD HH:MM:SS".
std::string local_time_text(void);
