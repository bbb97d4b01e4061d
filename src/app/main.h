// The process: start-up, the main loop over games, the timer tick, and the shell's work once per
// frame.
#pragma once
#include <atomic>

// Rises by one every 10 ms; the blink resets it and waits on it.
extern std::atomic<int> tick_count;

// The timer callback: adds one to tick_count and nothing else.
void tick_handler(void);

// The process's main: start-up, the games, shutdown. 0 after Escape or the close button, 1 on
// a start-up failure, 2 on a bad command line.
int game_main(int argc, char *argv[]);

// Plays games until Escape is held at the start of a game or between turns. Returns 0.
int main_loop(void);

// Called once per frame from the shell's work, after M; null in the game. Tests use it to move
// the mouse, keys and clock one step per frame.
extern void (*test_frame_hook)(void);

// Has every frame end with the shell's work: M, the tests' hook, F11 and Alt+Enter, a pending
// quit.
void install_frame_work(void);
