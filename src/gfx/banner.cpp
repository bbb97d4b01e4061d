// The level-up banner and the final screen: a title box fading over a still of the board,
// with the pointer live on every frame.
#include <algorithm>
#include <chrono>
#include <thread>
#include "game/game.h"
#include "gfx/gfx.h"

namespace {
// One animation's temporaries: the box with the title on it, and the board as present_frame
// would show it without the pointer. Both are null when the library could not make them.
struct Animation {
    BITMAP *box;      // the art the banner is wiped with on each frame
    BITMAP *banner;   // box plus title, rebuilt on each animated frame
    BITMAP *snapshot; // scene with the text layer over it, taken once
    int x, y;         // where the banner stands on the screen
    bool shown;       // a whole frame has been shown: later ones change only in known places
    long long due;    // when the pause after the last animated frame ends, on pace_clock
};
} // namespace

static long long steady_now(void) {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

static void steady_wait_until(long long due) {
    using namespace std::chrono;
    std::this_thread::sleep_until(steady_clock::time_point(microseconds(due)));
}

long long (*pace_clock)(void) = steady_now;
void (*pace_wait_until)(long long due) = steady_wait_until;

static void end_animation(Animation &a) {
    if (a.banner)
        destroy_bitmap(a.banner);
    if (a.snapshot)
        destroy_bitmap(a.snapshot);
    a.banner = a.snapshot = nullptr;
}

// Takes the snapshot and makes the banner; on failure releases what was made and leaves both
// null, so the caller skips drawing rather than drawing through a missing bitmap.
static Animation begin_animation(BITMAP *box, int y) {
    Animation a = {box,
                   create_bitmap_ex(32, box->w, box->h),
                   create_bitmap_ex(32, FRAME_W, FRAME_H),
                   (PLAY_W - box->w) / 2,
                   y,
                   false,
                   pace_clock()};
    if (!a.banner || !a.snapshot) {
        end_animation(a);
        return a;
    }
    masked_copy(scene_layer, text_layer, a.snapshot);
    return a;
}

// Puts the snapshot under the next frame's banner. After the first, whole frame only the
// banner's place and the pointer's last place differ from the snapshot, so only those are
// restored and only they (and the pointer's new place) reach the screen: the frame shown is
// the same, at a fraction of the cost, which keeps the animations close to their pauses.
static void restore_snapshot(const Animation &a) {
    if (!a.shown) {
        blit(a.snapshot, back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
        return;
    }
    blit(a.snapshot, back_buffer, pointer_drawn_x, pointer_drawn_y, pointer_drawn_x,
         pointer_drawn_y, cursor_image->w, cursor_image->h);
    blit(a.snapshot, back_buffer, a.x, a.y, a.x, a.y, a.banner->w, a.banner->h);
}

// Draws the pointer and shows the frame restore_snapshot began.
static void show(Animation &a) {
    if (a.shown)
        finish_frame_part(a.x, a.y, a.banner->w, a.banner->h);
    else
        finish_frame();
    a.shown = true;
}

// The box wiped clean with the title of level - 1 written across its middle, then laid over
// the snapshot at the given opacity; then a pause until `due`, however long the frame took to
// draw: the work falls inside the pause instead of adding to it. A late frame does not wait.
static void animated_frame(Animation &a, float alpha, long long due) {
    BITMAP *b = a.banner;
    blit(a.box, b, 0, 0, 0, 0, b->w, b->h);
    textprintf_centre_ex(b, font, b->w / 2, b->h / 2 - 4, makecol(255, 255, 255), _textmode, "%s",
                         level_titles[level - 1]);
    restore_snapshot(a);
    blend_translucent(b, back_buffer, 0, 0, a.x, a.y, b->w, b->h, alpha);
    show(a);
    a.due = due;
    pace_wait_until(due);
}

// Opacities first/100 to last/100 in steps of 0.01, step k due to end k + 1 pauses after the
// fade began. Each frame shows the step the clock has reached, never the same twice: where
// frames take longer than a pause (a slow copy to the window), steps are left out and the fade
// keeps its length at any scale and on any system. The last step is always shown.
static void fade(Animation &a, int first, int last, int pause) {
    int step = first <= last ? 1 : -1, steps = (last - first) * step + 1;
    long long start = a.due, length = pause * 1000LL;
    for (int k = 0; k < steps;) {
        animated_frame(a, (float)((first + k * step) / 100.0), start + (k + 1) * length);
        long long reached = (pace_clock() - start) / length;
        k = std::max(k + 1, (int)std::min<long long>(steps - 1, reached));
    }
}

// A frame of the final screen's waits: the banner as the fade-in left it, at full strength.
// Without temporaries the board itself is shown, so the wait still ends on a press.
static void still_frame(Animation &a) {
    if (!a.snapshot) {
        present_frame();
        return;
    }
    restore_snapshot(a);
    draw_sprite(back_buffer, a.banner, a.x, a.y);
    show(a);
}

void show_level_banner(void) {
    set_text_background(-1);
    Animation a = begin_animation(banner_box, 410);
    if (a.snapshot) {
        fade(a, 0, 99, 5);
        fade(a, 100, 1, 5);
    }
    set_text_background(makecol(255, 0, 255));
    end_animation(a);
}

// The final screen's animation, from its fade-in to its fade-out.
static Animation final_screen;

void open_final_screen(void) {
    set_text_background(-1);
    final_screen = begin_animation(final_box, (FRAME_H - final_box->h) / 2);
    if (final_screen.snapshot)
        fade(final_screen, 0, 100, 5);
}

void final_screen_frame(void) {
    still_frame(final_screen);
}

void final_screen_drawn_over(void) {
    final_screen.shown = false;
}

void close_final_screen(void) {
    final_screen.due = pace_clock(); // the fade-out's pauses count from the press
    if (final_screen.snapshot)
        fade(final_screen, 100, 1, 1);
    set_text_background(makecol(255, 0, 255));
    end_animation(final_screen);
}
