// Application shell: start-up, the main loop over games, the timer tick and pointer input.
#pragma once
#include <atomic>

// Rises by one every 10 ms; the blink resets it and waits on it.
extern std::atomic<int> tick_count;

// The timer callback: adds one to tick_count and nothing else.
void tick_handler(void);

// The process's main: start-up, the games, shutdown. 0 after Escape, 1 on a start-up failure.
int game_main(int argc, char *argv[]);

// Plays games until Escape is held at the start of a game or between turns. Returns 0.
int main_loop(void);

// 1 when x <= px <= x + w and y <= py <= y + h (both ends included).
int point_in_rect(int px, int py, int x, int y, int w, int h);

// The click area under a screen point: -1 for none, 0..9 otherwise.
int hit_test(int px, int py);

// Presents frames until the left button is pressed; returns its click area, or -2 on Escape.
int wait_click(void);

// Click areas.
enum {
    AREA_ESCAPE = -2,
    AREA_NONE = -1,
    AREA_ANO = 4,
    AREA_NIE = 5,
    AREA_FIFTY = 6,
    AREA_SWITCH = 7,
    AREA_THIRD = 8,
    AREA_EXIT = 9
};
