// Game rules: the turn controller, the start of a game and the table of level titles.
#pragma once

// The question being played, 1..15; briefly 0..16 while the end of a game is drawn.
extern int level;

// Lifelines used this game: bit 1 fifty-fifty, bit 2 switch question, bit 4 the third one.
extern int lifelines_used;
enum { LIFELINE_FIFTY = 1, LIFELINE_SWITCH = 2, LIFELINE_THIRD = 4 };

// The sixteen titles: index i is earned by answering questions 1..i.
extern const char *const level_titles[16];

// Starts a game and shows the intro screen until the first click (or Escape).
void new_game(void);

// Waits for one click and handles it. 0 while the game goes on, 1 once it has ended.
int play_turn(void);

// Flashes the correct answer three times (1.8 s).
void blink_correct(void);
