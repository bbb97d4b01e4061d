// Pointer and keys: the click areas, what lies under a point, and the waits for a fresh press.
#pragma once

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

// 1 when x <= px <= x + w and y <= py <= y + h (both ends included).
int point_in_rect(int px, int py, int x, int y, int w, int h);

// The click area under a screen point: -1 for none, 0..9 otherwise.
int hit_test(int px, int py);

// Whether an Alt key is down, by the keys themselves: the library's shift flags can still hold Alt
// after Alt+Tab away and back (its release went to the window manager) as the next key goes down.
int alt_held(void);

// The inputs of now (one bit each) that were not down in *held, which then becomes now: the
// presses since the last call, as every wait and key of the game takes them.
int fresh_presses(int now, int *held);

// One frame of a wait: show draws it. With --pokojne the wait then sleeps until the display's next
// frame is due, so it takes little of the processor while the pointer still moves at the
// display's rate; without it the next frame follows at once.
void wait_frame(void (*show)(void));

// Presents frames until the left button or a key of play is pressed; returns the click area of
// the press (for a key, the area it stands for), or -2 on Escape. A button or key already down
// on entry counts only once released and pressed again.
int wait_click(void);

// Like wait_click, but of the keys only Space and Enter count, as a press outside every area:
// the wait of the intro screen.
int wait_click_or_leave_key(void);

// Presents frames with show until any key or button is pressed and everything is let go again.
void wait_any_press(void (*show)(void));

// The final screen: its title fades in, waits for a fresh press (a button, Space or Enter; H shows
// the hall of fame over it), fades out.
void show_final_screen(void);
