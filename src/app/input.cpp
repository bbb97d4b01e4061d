// Pointer input: waiting for a press of the left button and naming what lies under it.
#include <allegro.h>
#include "app/app.h"
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

static int left_button(void) {
    return mouse_b & 1;
}

// Answers a press, never a release: a button held on entry must be released first.
int wait_click(void) {
    int prev = left_button();
    present_frame();
    for (;;) {
        while (left_button() == prev && !key[KEY_ESC])
            present_frame();
        if (key[KEY_ESC])
            return AREA_ESCAPE;
        if (prev == 0)
            return hit_test(mouse_x, mouse_y);
        prev = left_button();
    }
}
