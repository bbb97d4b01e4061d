// Player data as the game uses it: the games kept, the questions met and the hall of fame.
#pragma once
#include <string>
#include <vector>
#include "app/command_line.h"
#include "player/player.h"

// question_met notes the question on the board (the first of a game begins a fresh list);
// record_game keeps a game that reached its final screen (the row reached, the row kept,
// ENDING_*).
void question_met(bool first_of_game);
void record_game(int reached, int kept, int ending);

// Reads the results and settings and the question bank's size; remembers what the command line
// asked to be remembered and chooses run_settings from both.
void load_player_data(void);

// What this run uses: the command line's choice, else the remembered one. Written only by
// choose_run_settings; read-only for others.
struct RunSettings {
    int fullscreen; // start full screen
    int calm;       // rest between waiting frames (--pokojne)
    int muted;      // start muted (--ticho)
};
extern RunSettings run_settings;
void choose_run_settings(const Options &asked, const Settings &remembered);

// The hall of fame's lines: the heading, the ten best, the statistics.
std::vector<std::string> hall_of_fame_lines(void);

// --vysledky: prints the hall of fame; the exit status.
int print_hall_of_fame(void);

// Shows the hall of fame until a key or a click, then the board again.
void show_hall_of_fame(void);
