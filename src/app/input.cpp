// Pointer and keys: waiting for a fresh press of a button or key and naming what lies under it;
// the final screen's wait.
#include "app/input.h"
#include <allegro.h>
#include <algorithm>
#include "app/records.h"
#include "gfx/gfx.h"

// The answer buttons and the fields around "ANO" and "NIE"; the lifeline icons and the exit
// button take their sizes from their pictures at each test.
struct Rect {
    int x, y, w, h;
};
static const Rect FIXED_AREAS[6] = {
    {ANSWER_X[0], ANSWER_Y[0], BUTTON_W, BUTTON_H},
    {ANSWER_X[1], ANSWER_Y[1], BUTTON_W, BUTTON_H},
    {ANSWER_X[2], ANSWER_Y[2], BUTTON_W, BUTTON_H},
    {ANSWER_X[3], ANSWER_Y[3], BUTTON_W, BUTTON_H},
    {193, 175, 34, 15},
    {273, 175, 34, 15},
};

int point_in_rect(int px, int py, int x, int y, int w, int h) {
    return x <= px && px <= x + w && y <= py && py <= y + h;
}

// The ten areas in the order they are tested.
static void current_areas(Rect areas[10]) {
    for (int i = 0; i < 6; i++)
        areas[i] = FIXED_AREAS[i];
    for (int k = 0; k < 3; k++)
        areas[6 + k] = {lifeline_icon_x(k), LIFELINE_Y, lifeline_sheet->w, lifeline_sheet->h / 4};
    areas[9] = {EXIT_X, EXIT_Y, exit_button->w, exit_button->h};
}

int hit_test(int px, int py) {
    Rect areas[10];
    current_areas(areas);
    for (int i = 0; i < 10; i++)
        if (point_in_rect(px, py, areas[i].x, areas[i].y, areas[i].w, areas[i].h))
            return i;
    return AREA_NONE;
}

// Keys and the click areas they stand for.
struct KeyArea {
    int key, area;
};
static const KeyArea PLAY_KEYS[] = {
    {KEY_A, 0},
    {KEY_B, 1},
    {KEY_C, 2},
    {KEY_D, 3},
    {KEY_ENTER, AREA_ANO},
    {KEY_ENTER_PAD, AREA_ANO},
    {KEY_N, AREA_NIE},
    {KEY_BACKSPACE, AREA_NIE},
    {KEY_1, AREA_FIFTY},
    {KEY_2, AREA_SWITCH},
    {KEY_3, AREA_THIRD},
    {KEY_K, AREA_EXIT},
};
static const KeyArea LEAVE_KEYS[] = {
    {KEY_SPACE, AREA_NONE},
    {KEY_ENTER, AREA_NONE},
    {KEY_ENTER_PAD, AREA_NONE},
    {KEY_H, AREA_HALL},
};
struct KeySet {
    const KeyArea *keys;
    int count;
};
static const KeySet PLAY = {PLAY_KEYS, sizeof PLAY_KEYS / sizeof PLAY_KEYS[0]};
static const KeySet LEAVE = {LEAVE_KEYS, sizeof LEAVE_KEYS / sizeof LEAVE_KEYS[0]};

int alt_held(void) {
    return key[KEY_ALT] || key[KEY_ALTGR];
}

// What is down now, one bit each: bit 0 the left button, bit 1 + i the set's key i. Enter with
// Alt is the switch to full screen, not a key of play.
static int inputs_down(KeySet set) {
    int down = mouse_b & 1, alt = alt_held();
    for (int i = 0; i < set.count; i++)
        if (key[set.keys[i].key] && !(alt && set.keys[i].key == KEY_ENTER))
            down |= 2 << i;
    return down;
}

int fresh_presses(int now, int *held) {
    int fresh = now & ~*held;
    *held = now;
    return fresh;
}

void wait_frame(void (*show)(void)) {
    show();
    if (!run_settings.calm)
        return;
    static long long due; // when the last rest ended, on pace_clock
    int rate = get_refresh_rate();
    due = std::max(due + 1000000 / (rate > 0 ? rate : 60), pace_clock());
    pace_wait_until(due);
}

// Answers a press, never a release: an input down on entry must be let go first. The inputs
// are read once per pass, with one frame presented between two reads.
static int wait_press(KeySet set) {
    int prev = inputs_down(set);
    present_frame();
    for (;;) {
        int fresh = fresh_presses(inputs_down(set), &prev);
        if (key[KEY_ESC])
            return AREA_ESCAPE;
        if (fresh & 1) {
            FramePoint p = pointer_in_frame();
            return hit_test(p.x, p.y);
        }
        for (int i = 0; i < set.count; i++)
            if (fresh & (2 << i))
                return set.keys[i].area;
        wait_frame(present_frame);
    }
}

int wait_click(void) {
    return wait_press(PLAY);
}

int wait_click_or_leave_key(void) {
    return wait_press(LEAVE);
}

// The keys of the final screen down now, as inputs_down gives them.
static int leave_keys_down(void) {
    return inputs_down(LEAVE) & ~1;
}

// 1 when Space or Enter went down since the last call, 2 for H (the hall of fame); *held
// carries which of them were down, and starts as leave_keys_down().
static int leave_key_pressed(int *held) {
    int fresh = fresh_presses(leave_keys_down(), held);
    for (int i = 0; i < LEAVE.count; i++)
        if (fresh & (2 << i))
            return LEAVE.keys[i].area == AREA_HALL ? 2 : 1;
    return 0;
}

// Whether any button or key is down.
static bool anything_down(void) {
    for (int k = 1; k < KEY_MAX; k++)
        if (key[k])
            return true;
    return mouse_b != 0;
}

void wait_any_press(void (*show)(void)) {
    int held = anything_down();
    show();
    while (!fresh_presses(anything_down(), &held))
        wait_frame(show);
    while (anything_down())
        wait_frame(show);
}

// A fresh Space or Enter leaves the final screen (1); a fresh H shows the hall of fame over it,
// after which the screen is drawn whole again.
static int final_screen_key(int *held) {
    int pressed = leave_key_pressed(held);
    if (pressed == 2) {
        show_hall_of_fame();
        final_screen_drawn_over();
        *held = leave_keys_down();
    }
    return pressed == 1;
}

// The wait takes a fresh press: a left button still down from the click that ended the game
// is let go first; then any button ends it. Space or Enter pressed during the wait ends it too
// (one held since before the wait counts only once pressed again).
void show_final_screen(void) {
    open_final_screen();
    int held = leave_keys_down(), key_left = 0;
    while ((mouse_b & 1) && !(key_left = final_screen_key(&held)))
        wait_frame(final_screen_frame);
    while (!key_left && mouse_b == 0 && !(key_left = final_screen_key(&held)))
        wait_frame(final_screen_frame);
    close_final_screen();
}
