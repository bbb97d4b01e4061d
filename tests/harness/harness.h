// Headless test harness: the library without hardware, a memory screen, and input and time
// driven by a script one step per frame the game shows.
#pragma once
#include <allegro.h>
#include <functional>

// Starts the library once per process with no hardware (SYSTEM_NONE: never the timer), 32-bit
// colour, a 640x480 memory bitmap as the screen and the text mode of play.
void headless_init(void);

// headless_init, then load_resources from the given folder (made the working directory).
// Returns load_resources' result. Bitmaps of an earlier load are released first.
int headless_load(const char *dir);

// The library's input state for one or more frames.
struct InputState {
    int x, y;    // pointer position
    int buttons; // mouse_b: bit 0 left, bit 1 right, bit 2 middle
    int escape;  // key[KEY_ESC]
    int key = 0; // one more key held (its KEY_ scancode), 0 for none
};

// Empties the script, releases every button and Escape, puts the pointer at (0, 0), resets
// the frame counter and tick_count, and clears the per-frame agent. Installs the frame hook.
void script_reset(void);

// Appends: hold this input state for the given number of shown frames.
void script_hold(InputState state, int frames);

// Appends a left click at (x, y): one frame moved there with the button up, two frames down,
// one frame up again.
void script_click(int x, int y);

// Appends a left click in the middle of click area 0..9 as the screen stands now.
void script_click_area(int area);

// Appends idle frames (button up, no Escape) at the current pointer position.
void script_idle(int frames);

// Frames left in the script.
int script_frames_left(void);

// How many frames reached the screen since script_reset.
int frames_shown(void);

// Called after every shown frame, after the script's step; may change the input itself.
extern std::function<void(void)> per_frame_agent;

// After this many frames in one test, the harness reports a runaway wait and aborts.
extern int frame_limit;

// The input state in force now.
InputState current_input(void);

// Pixel value of bitmap b at (x, y); and a colour's 32-bit value.
int pixel_at(BITMAP *b, int x, int y);
int rgb(int r, int g, int b);
