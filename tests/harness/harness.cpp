// Headless test harness: runs the real game and drawing code on memory bitmaps, moving the
// mouse, Escape and the clock one scripted step per frame that reaches the screen.
#include "harness/harness.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <unistd.h>
#include "app/app.h"
#include "gfx/gfx.h"

std::function<void(void)> per_frame_agent;
int frame_limit = 200000;

struct Step {
    InputState state;
    int frames;
};
static std::deque<Step> script;
static InputState now;
static int shown;

static int now_key;

// Writes the library's input variables, as its drivers would.
static void apply(InputState s) {
    now = s;
    mouse_x = s.x;
    mouse_y = s.y;
    mouse_b = s.buttons;
    key[KEY_ESC] = s.escape ? 1 : 0;
    if (now_key)
        key[now_key] = 0;
    now_key = s.key;
    if (now_key)
        key[now_key] = 1;
}

// One frame reached the screen: time moves on by one tick and the script by one step.
static void on_frame_shown(void) {
    shown++;
    tick_count++;
    if (shown > frame_limit) {
        std::fprintf(stderr, "harness: %d frames shown without the game ending its wait\n", shown);
        std::abort();
    }
    if (!script.empty()) {
        apply(script.front().state);
        if (--script.front().frames <= 0)
            script.pop_front();
    } else {
        apply({now.x, now.y, 0, 0});
    }
    if (per_frame_agent)
        per_frame_agent();
}

void headless_init(void) {
    static bool started;
    if (started)
        return;
    started = true;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "harness: cannot start the library\n");
        std::abort();
    }
    set_color_depth(32);
    screen = create_bitmap(640, 480);
    clear_to_color(screen, 0);
    set_text_background(makecol(255, 0, 255));
}

// Everything load_resources makes, so a second load in one process starts clean.
static BITMAP **const LOADED[] = {
    &back_buffer,      &scene_layer,    &text_layer,   &panel_layer, &cursor_image,
    &background_image, &lifeline_sheet, &title_image,  &exit_button, &used_mark,
    &answer_sheet,     &confirm_box,    &question_box, &banner_box,  &final_box,
};

int headless_load(const char *dir) {
    headless_init();
    for (BITMAP **b : LOADED) {
        if (*b)
            destroy_bitmap(*b);
        *b = nullptr;
    }
    if (chdir(dir) != 0)
        return 1;
    return load_resources();
}

void script_reset(void) {
    script.clear();
    shown = 0;
    tick_count = 0;
    per_frame_agent = nullptr;
    frame_limit = 200000;
    apply({0, 0, 0, 0});
    frame_shown_hook = on_frame_shown;
}

void script_hold(InputState state, int frames) {
    if (frames > 0)
        script.push_back({state, frames});
}

// Where the script leaves the pointer: its last step, or the current state.
static InputState last_state(void) {
    return script.empty() ? now : script.back().state;
}

void script_click(int x, int y) {
    script_hold({x, y, 0, 0}, 1);
    script_hold({x, y, 1, 0}, 2);
    script_hold({x, y, 0, 0}, 1);
}

// The middle of each click area; the lifeline icons and exit button from their pictures.
void script_click_area(int area) {
    static const int fixed[6][2] = {{140, 335}, {350, 335}, {140, 375},
                                    {350, 375}, {210, 182}, {290, 182}};
    if (area >= 0 && area < 6)
        script_click(fixed[area][0], fixed[area][1]);
    else if (area >= 6 && area <= 8)
        script_click(lifeline_icon_x(area - 6) + lifeline_sheet->w / 2,
                     LIFELINE_Y + lifeline_sheet->h / 8);
    else if (area == 9)
        script_click(EXIT_X + exit_button->w / 2, EXIT_Y + exit_button->h / 2);
    else
        script_click(470, 10); // no area there
}

void script_idle(int frames) {
    InputState s = last_state();
    script_hold({s.x, s.y, 0, 0}, frames);
}

int script_frames_left(void) {
    int n = 0;
    for (const Step &s : script)
        n += s.frames;
    return n;
}

int frames_shown(void) {
    return shown;
}

InputState current_input(void) {
    return now;
}

int pixel_at(BITMAP *b, int x, int y) {
    return getpixel(b, x, y);
}

int rgb(int r, int g, int b) {
    return makecol32(r, g, b);
}
