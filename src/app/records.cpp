// What the game keeps of the player: each finished game and the questions met in it, the
// remembered settings, the window's title and the hall of fame.
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "player/player.h"
#include "questions/questions.h"
#include "sound/sound.h"

// The questions shown since the last finished game.
static std::vector<uint64_t> met_this_game;
// The hashes of every question in the three tier files, read at start-up.
static std::vector<uint64_t> bank;
// Muting as last remembered, to notice M.
static int remembered_muted;

void question_met(bool first_of_game) {
    if (first_of_game) // a game left unfinished keeps nothing
        met_this_game.clear();
    add_met(&met_this_game,
            question_hash(shown_question.line1, question_lines == 2 ? shown_question.line2 : ""));
}

void record_game(int reached, int kept, int ending) {
    player_record({local_time_text(), reached, kept, ending, lifelines_used}, met_this_game);
    met_this_game.clear();
    update_window_title();
}

std::string window_title(void) {
    std::string title = "Rebrik";
    Standings s = standings_of(player_results);
    if (!s.best.empty() && s.best[0].kept > 0)
        title +=
            " - rekord: " + std::to_string(s.best[0].kept) + " " + level_titles[s.best[0].kept];
    return sound_muted ? title + " - ticho" : title;
}

void update_window_title(void) {
    set_window_title(window_title().c_str());
}

// The hashes of every question in the three tier files; a file that cannot be read adds none.
// Reading replaces the loaded tier, so this runs only before the first game.
static std::vector<uint64_t> bank_hashes(void) {
    std::vector<uint64_t> bank;
    for (int first_level : {1, 6, 11}) {
        if (load_tier_of(first_level) != 0)
            continue;
        for (int i = 0; i < question_count; i++) {
            const QuestionRecord &q = question_set[i];
            bank.push_back(question_hash(q.line1, q.line_count == 2 ? q.line2 : ""));
        }
    }
    return bank;
}

void load_player_data(void) {
    player_choose_hall(question_folder_path());
    player_load();
    bank = bank_hashes();
    if (options.muted)
        player_save_settings({1, -1});
    options.muted = options.muted || player_settings.muted == 1;
    if (!options.fullscreen && !options.scale)
        options.fullscreen = player_settings.fullscreen == 1;
    remembered_muted = options.muted;
}

// Between the window and full screen, remembered; the board is drawn whole on the new screen.
// If neither mode can be had any more the game cannot go on: message A, status 1.
static void switch_display(void) {
    options.fullscreen = is_windowed_mode();
    if (open_display() != 0) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Nemozem nastartovat graficky mod\n");
        exit(1);
    }
    player_save_settings({-1, !is_windowed_mode()});
}

void poll_display_keys(void) {
    static bool was_down;
    bool down = key[KEY_F11] || ((key_shifts & KB_ALT_FLAG) && key[KEY_ENTER]);
    if (down && !was_down)
        switch_display();
    was_down = down;
}

void after_frame(void) {
    if (sound_muted != remembered_muted) {
        remembered_muted = sound_muted;
        player_save_settings({sound_muted, -1});
        update_window_title();
    }
    act_on_pending_quit();
}

// Whose hall it is: the game's own questions, or a folder of the player's own, by its name.
static std::string whose_hall(void) {
    std::string folder = question_folder_path();
    return folder.empty() ? "Otazky hry"
                          : "Vlastne otazky: " + question_set_name(folder).substr(0, 48);
}

std::vector<std::string> hall_of_fame_lines(void) {
    Standings s = standings_of(player_results);
    std::vector<std::string> lines = {"SIEN SLAVY", whose_hall(), ""};
    char line[96];
    for (size_t i = 0; i < s.best.size(); i++) {
        const GameResult &g = s.best[i];
        std::snprintf(line, sizeof line, "%2d. %2d  %-9s  %s", int(i + 1), g.kept,
                      level_titles[g.kept], g.when.substr(0, 10).c_str());
        lines.push_back(line);
    }
    if (s.best.empty())
        lines.push_back("Este ziadna dohrana hra.");
    std::snprintf(line, sizeof line, "Hry: %d   Vyhry: %d   Priemerna priecka: %.1f", s.played,
                  s.won, s.average_row);
    lines.insert(lines.end(), {"", line});
    std::snprintf(line, sizeof line, "Stretnute otazky: %d z %d",
                  count_met(player_results.met, bank), int(bank.size()));
    lines.push_back(line);
    return lines;
}

// On the screen the hall says how it closes.
static std::vector<std::string> hall_of_fame_screen(void) {
    std::vector<std::string> lines = hall_of_fame_lines();
    lines.insert(lines.end(), {"", "Klikni alebo stlac klaves."});
    return lines;
}

int print_hall_of_fame(void) {
    player_choose_hall(question_folder_path());
    player_load(true);
    bank = bank_hashes();
    for (const std::string &line : hall_of_fame_lines())
        std::printf("%s\n", line.c_str());
    return 0;
}

void show_hall_of_fame(void) {
    open_hall_of_fame(hall_of_fame_screen());
    wait_any_press(hall_of_fame_frame);
    close_hall_of_fame();
}
