// Player data as the game uses it: the games kept, the questions met and the hall of fame.
#pragma once
#include <string>
#include <vector>

// question_met notes the question on the board (the first of a game begins a fresh list);
// record_game keeps a game that reached its final screen (the row reached, the row kept,
// ENDING_*).
void question_met(bool first_of_game);
void record_game(int reached, int kept, int ending);

// Reads the results and settings and the question bank's size; the settings fill in what the
// command line left open, and --ticho is remembered.
void load_player_data(void);

// The hall of fame's lines: the heading, the ten best, the statistics.
std::vector<std::string> hall_of_fame_lines(void);

// --vysledky: prints the hall of fame; the exit status.
int print_hall_of_fame(void);

// Shows the hall of fame until a key or a click, then the board again.
void show_hall_of_fame(void);
