// Headless test harness: the library without hardware, a memory screen, input, time and rand()
// driven by a script one step per frame the game shows, test pictures and game scripts.
#pragma once
#include <allegro.h>
#include <functional>
#include <string>
#include <vector>
#include "app/command_line.h"
#include "app/display.h"
#include "app/input.h"
#include "app/main.h"
#include "app/records.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "questions/questions.h"

// Starts the library once with no hardware, 32-bit, a 640x480 memory screen; then load_resources
// from that folder made the working directory, its result.
void headless_init(void);
int headless_load(const char *dir);
// The animations' clock in microseconds: still but for their waits (each jumps to its end) and
// what a test adds.
extern long long test_clock;

// The library's input state for one or more frames.
struct InputState {
    int x, y, buttons, escape; // the pointer, mouse_b (1 left, 2 right, 4 middle), key[KEY_ESC]
    int key = 0;               // one more key held (its KEY_ scancode), 0 for none
};

// Empties the input and rand() scripts, releases all input, zeroes the counters, the agent and
// the effect hook. Then appends: an input state held for some shown frames; a left click (up,
// down, down, up) at a point or in the middle of click area 0..9 as the screen stands (-1: none).
void script_reset(void);
void script_hold(InputState state, int frames);
void script_click(int x, int y);
void script_click_area(int area);
// Frames left in the script; frames shown since script_reset (each moves tick_count by one).
int script_frames_left(void);
extern int frames_shown;
// With digest_frames set, every shown frame's pixels are folded into frames_digest, in order.
extern bool digest_frames;
extern unsigned long long frames_digest;
// Called after every shown frame, after the script's step; may change the input itself.
extern std::function<void(void)> per_frame_agent;
// rand() hands out these numbers first, then its own seeded sequence (srand); how many it gave.
void script_rand(const std::vector<int> &numbers);
extern int rand_taken;

// Plays a game script (as `play` in tests/scripts/window_lib.sh reads it; '#' starts a note):
// go (new game), right or wrong (the next slot's) confirmed, fifty, switch, third, exit, end
// (the final screen clicked away), esc (Escape held). Returns how many games ended.
int play_words(const std::string &words);
// Each animation play_words saw: frames, level and marked row, the tier's first letter.
struct Animation {
    int frames, level, row;
    char tier;
};
extern std::vector<Animation> animations;

// A fresh folder in the temporary directory ("" if none could be made), removed with the others
// (back in the starting directory, games keeping no results) as each test ends, or when any other
// program exits; one holding the bundled pictures and the test question banks.
std::string scratch_folder(const char *what);
void remove_scratch_folders(void);
std::string game_folder(void);

// Sizes of the five test pictures: a 6x6 yellow pointer, a background varying by pixel, a lifeline
// sheet of rows red, green, blue, left half white (the used mark), an intro, a 60x30 exit button.
struct TestImageSizes {
    int sheet_w = 60, sheet_h = 80, title_w = 200, title_h = 100;
    int background_w = 640, background_h = 480;
};
// Writes the five pictures into a scratch folder; or writes and loads them (load_resources').
std::string write_test_images(const TestImageSizes &sizes = TestImageSizes());
int load_test_images(const TestImageSizes &sizes = TestImageSizes());

// Pixels where two 32-bit memory bitmaps of one size differ; a colour in their format.
int count_differences(BITMAP *a, BITMAP *b);
inline int rgb(int r, int g, int b) {
    return makecol32(r, g, b);
}
