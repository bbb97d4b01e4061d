// What the game keeps of the player: each finished game and the questions met in it, the
// settings read at start and the hall of fame.
#include "app/records.h"
#include <algorithm>
#include <cstdio>
#include "app/display.h"
#include "app/input.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "questions/questions.h"

RunSettings run_settings;

// The questions shown since the last finished game.
static std::vector<uint64_t> met_this_game;
// The hashes of every question in the three tier files, read at start-up.
static std::vector<uint64_t> bank;

// The hash of a question as it is shown: its second line counts only when it has one.
static uint64_t shown_hash(const char *line1, const char *line2, int line_count) {
    return question_hash(line1, line_count == 2 ? line2 : "");
}

void question_met(bool first_of_game) {
    if (first_of_game) // a game left unfinished keeps nothing
        met_this_game.clear();
    add_met(&met_this_game, shown_hash(shown_question.line1, shown_question.line2, question_lines));
}

void record_game(int reached, int kept, int ending) {
    player_record({local_time_text(), reached, kept, ending, lifelines_used}, met_this_game);
    met_this_game.clear();
    update_window_title();
}

// Reads the results of the question set played (only_read: changing nothing on disk) and the
// settings, and the hashes of every question in the three tier files (a file that cannot be read
// adds none). Reading a tier replaces the loaded one, so this runs only before the first game.
static void read_player_data(bool only_read) {
    player_choose_hall(question_folder_path());
    player_load(only_read);
    bank.clear();
    for (int first_level : {1, 6, 11}) {
        if (load_tier_of(first_level) != 0)
            continue;
        for (int i = 0; i < question_count; i++) {
            const QuestionRecord &q = question_set[i];
            bank.push_back(shown_hash(q.line1, q.line2, q.line_count));
        }
    }
}

// Whether a recorded game met this question: the draw offers such questions last.
static bool met_before(const QuestionRecord &q) {
    const std::vector<uint64_t> &met = player_results.met;
    return std::binary_search(met.begin(), met.end(), shown_hash(q.line1, q.line2, q.line_count));
}

void load_player_data(void) {
    read_player_data(false);
    use_met_questions(met_before);
    // What the command line asked for is remembered, in one write.
    if (options.start_muted || options.calm >= 0)
        player_save_settings({options.start_muted ? 1 : -1, -1, options.calm});
    choose_run_settings(options, player_settings);
}

// A window of the scale asked for is not full screen, whatever was remembered.
void choose_run_settings(const Options &asked, const Settings &remembered) {
    run_settings.fullscreen = asked.fullscreen || (!asked.scale && remembered.fullscreen == 1);
    run_settings.calm = asked.calm >= 0 ? asked.calm : remembered.calm == 1;
    run_settings.muted = asked.start_muted || remembered.muted == 1;
}

// Whose hall it is: the game's own questions, or a folder of the player's own, by its name (cut
// to fit the board, never inside a letter).
static std::string whose_hall(void) {
    std::string folder = question_folder_path(), name = question_set_name(folder);
    size_t cut = std::min<size_t>(name.size(), 48);
    while (cut > 0 && cut < name.size() && (name[cut] & 0xC0) == 0x80)
        cut--;
    return folder.empty() ? "Otázky hry" : "Vlastné otázky: " + name.substr(0, cut);
}

std::vector<std::string> hall_of_fame_lines(void) {
    Standings s = standings_of(player_results);
    std::vector<std::string> lines = {"SIEŇ SLÁVY", whose_hall(), ""};
    char line[96];
    for (size_t i = 0; i < s.best.size(); i++) {
        const GameResult &g = s.best[i];
        std::snprintf(line, sizeof line, "%2d. %2d  %-9s  %s", int(i + 1), g.kept,
                      level_titles[g.kept], g.when.substr(0, 10).c_str());
        lines.push_back(line);
    }
    if (s.best.empty())
        lines.push_back("Ešte žiadna dohraná hra.");
    std::snprintf(line, sizeof line, "Hry: %d   Výhry: %d   Priemerná priečka: %.1f", s.played,
                  s.won, s.average_row);
    lines.insert(lines.end(), {"", line});
    std::snprintf(line, sizeof line, "Stretnuté otázky: %d z %d",
                  count_met(player_results.met, bank), int(bank.size()));
    lines.push_back(line);
    return lines;
}

// On the screen the hall says how it closes.
static std::vector<std::string> hall_of_fame_screen(void) {
    std::vector<std::string> lines = hall_of_fame_lines();
    lines.insert(lines.end(), {"", "Klikni alebo stlač kláves."});
    return lines;
}

int print_hall_of_fame(void) {
    read_player_data(true);
    for (const std::string &line : hall_of_fame_lines())
        std::printf("%s\n", line.c_str());
    return 0;
}

void show_hall_of_fame(void) {
    open_hall_of_fame(hall_of_fame_screen());
    wait_any_press(hall_of_fame_frame);
    close_hall_of_fame();
}
