// Application shell: start-up, the main loop over games, the timer tick and pointer input.
#pragma once
#include <atomic>
#include <string>
#include <vector>
#include "platform/platform.h"

// Rises by one every 10 ms; the blink resets it and waits on it.
extern std::atomic<int> tick_count;

// The timer callback: adds one to tick_count and nothing else.
void tick_handler(void);

// The process's main: start-up, the games, shutdown. 0 after Escape or the close button, 1 on
// a start-up failure, 2 on a bad command line.
int game_main(int argc, char *argv[]);

// What the command line asked for. scale 0 picks the largest factor that fits the desktop.
struct Options {
    int scale;
    int fullscreen;
    int muted;
    int results; // --vysledky: print the hall of fame and exit
};
extern Options options;

// Reads the command line into options. -1 to go on and play; otherwise the exit status after
// --help or --version (0) or a bad command line (2), with the text already printed.
int parse_command_line(int argc, char *argv[]);

// The window's factor on a desktop_w x desktop_h desktop: the one asked for (0 for none) when
// the window and the window manager's room around it fit, else the largest that fits (at least 1).
int window_scale(int asked, int desktop_w, int desktop_h);

// Sets the graphics mode the options ask for, falling back from full screen to a window and
// from a scaled window to scale 1; names, decorates and places the window. 0 on success.
int open_display(void);

// Plays games until Escape is held at the start of a game or between turns. Returns 0.
int main_loop(void);

// 1 when x <= px <= x + w and y <= py <= y + h (both ends included).
int point_in_rect(int px, int py, int x, int y, int w, int h);

// The click area under a screen point: -1 for none, 0..9 otherwise.
int hit_test(int px, int py);

// Presents frames until the left button or a key of play is pressed; returns the click area of
// the press (for a key, the area it stands for), or -2 on Escape. A button or key already down
// on entry counts only once released and pressed again.
int wait_click(void);

// Like wait_click, but of the keys only Space and Enter count, as a press outside every area:
// the wait of the intro screen.
int wait_click_or_leave_key(void);

// For the final screen's own wait: 1 when Space or Enter went down since the last call, 2 for H
// (the hall of fame); *held carries which of them were down, and starts as leave_keys_down().
int leave_key_pressed(int *held);
int leave_keys_down(void);

// Click areas.
enum {
    AREA_ESCAPE = -2,
    AREA_NONE = -1,
    AREA_ANO = 4,
    AREA_NIE = 5,
    AREA_FIFTY = 6,
    AREA_SWITCH = 7,
    AREA_THIRD = 8,
    AREA_EXIT = 9,
    AREA_HALL = 10 // H in the intro's wait: the hall of fame
};

// Presents frames with show until any key or button is pressed and everything is let go again.
void wait_any_press(void (*show)(void));

// Player data as the game uses it. question_met notes the question on the board (the first of a
// game begins a fresh list); record_game
// keeps a game that reached its final screen (the row reached, the row kept, ENDING_*).
void question_met(bool first_of_game);
void record_game(int reached, int kept, int ending);
// Reads the results and settings and the question bank's size; the settings fill in what the
// command line left open, and --ticho is remembered.
void load_player_data(void);
// "Rebrik", with the best title once there is one ("Rebrik - rekord: 10 Blavak") and " - ticho"
// while muted, the sign of muting that changes no game frame; and setting it.
std::string window_title(void);
void update_window_title(void);
// The hall of fame's lines: the heading, the ten best, the statistics.
std::vector<std::string> hall_of_fame_lines(void);
// --vysledky: prints the hall of fame; the exit status.
int print_hall_of_fame(void);
// Shows the hall of fame until a key or a click, then the board again.
void show_hall_of_fame(void);
// F11 or Alt+Enter switches between the window and full screen.
void poll_display_keys(void);
// Remembers a change of muting in the settings and the title.
void remember_muting(void);

// The final screen: its title fades in, waits for a fresh press (a button, Space or Enter; H shows
// the hall of fame over it), fades out.
void show_final_screen(void);

// Called once per frame from the shell's work, after the keys of sound; null in the game. Tests
// use it to move the mouse, keys and clock one step per frame.
extern void (*test_frame_hook)(void);
// Has every frame end with the shell's work: the keys of sound, the tests' hook, muting
// remembered, F11 and Alt+Enter, a pending quit.
void install_frame_work(void);
