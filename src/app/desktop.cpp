// The game on a desktop: the window (its size, name and icon) or full screen, and quitting
// through the close button, a signal or a lost display.
#include <allegro.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <cstdlib>
#include <unistd.h>
#include <xalleg.h>
#include "app/app.h"
#include "gfx/gfx.h"
#include "app/icon.xpm"

// The library's icon for its windows: XPM data, read when the window is made.
extern "C" void *allegro_icon;

// Room a window manager needs around the window (borders, title bar, panels), so the largest
// factor still leaves the whole window on the desktop.
constexpr int ROOM_W = 32, ROOM_H = 96;

void name_window(void) {
    allegro_icon = (void *)rebrik_icon_xpm;
    xwin_set_window_name("rebrik", "Rebrik");
}

// The largest whole factor by which the frame fits w x h less the given room; 1 to MAX_SCALE.
static int fitting_scale(int w, int h, int room_w, int room_h) {
    int sw = (w - room_w) / FRAME_W, sh = (h - room_h) / FRAME_H;
    int s = sw < sh ? sw : sh;
    return s < 1 ? 1 : s > MAX_SCALE ? MAX_SCALE : s;
}

int window_scale(int asked, int desktop_w, int desktop_h) {
    int fits = fitting_scale(desktop_w, desktop_h, ROOM_W, ROOM_H);
    return asked && asked < fits ? asked : fits;
}

// Setting a mode puts the library's pointer at the window's centre, wherever the real one is,
// and arms a warp that a few hundred ms later moves the real pointer there to match: the arrow
// would jump under the player's hand. Instead the library's pointer is put where the real one
// is, and the warp disarmed. The game only reads the pointer afterwards.
static void leave_pointer_alone(void) {
    Window root, child;
    int root_x, root_y, x, y;
    unsigned int buttons;
    XLOCK();
    int known = XQueryPointer(_xwin.display, _xwin.window, &root, &child, &root_x, &root_y, &x, &y,
                              &buttons);
    XUNLOCK();
    if (known)
        position_mouse(x, y);
    XLOCK();
    _xwin.mouse_warped = 0;
    XUNLOCK();
}

// Sets a w x h mode with the given driver and the frame shown as v on it, on black. 0 on success.
static int try_mode(int driver, int w, int h, View v) {
    if (set_gfx_mode(driver, w, h, 0, 0) != 0)
        return 1;
    leave_pointer_alone();
    if (set_view(v) != 0)
        return 1;
    clear_to_color(screen, makecol(0, 0, 0));
    return 0;
}

// Full screen at the desktop's size, the frame centred; else a window scaled by the factor
// asked for or the largest that fits; else a 640x480 window; else whatever 640x480 mode the
// library can set.
int open_display(void) {
    int dw, dh;
    if (get_desktop_resolution(&dw, &dh) != 0)
        dw = FRAME_W, dh = FRAME_H;
    int s = fitting_scale(dw, dh, 0, 0);
    if (options.fullscreen && try_mode(GFX_AUTODETECT_FULLSCREEN, dw, dh,
                                       {s, (dw - FRAME_W * s) / 2, (dh - FRAME_H * s) / 2}) == 0)
        return 0;
    s = window_scale(options.scale, dw, dh);
    if (options.scale > s)
        std::fprintf(stderr,
                     "rebrik: okno --scale %d sa na obrazovku %dx%d nezmestí, je %d-krát väčšie\n",
                     options.scale, dw, dh, s);
    int opened =
        (s > 1 && try_mode(GFX_AUTODETECT_WINDOWED, FRAME_W * s, FRAME_H * s, {s, 0, 0}) == 0) ||
        try_mode(GFX_AUTODETECT_WINDOWED, FRAME_W, FRAME_H, {1, 0, 0}) == 0 ||
        try_mode(GFX_AUTODETECT, FRAME_W, FRAME_H, {1, 0, 0}) == 0;
    if (opened)
        update_window_title();
    return !opened;
}

// A signal asked to quit (its number), or the close button did. Signal handlers and the
// library's input thread write them: lock-free atomics are safe in both.
static std::atomic<int> quit_signal{0}, quit_closed{0};
static_assert(std::atomic<int>::is_always_lock_free, "the quit flags must be lock-free");

void request_quit(int signal_number) {
    if (signal_number)
        quit_signal = signal_number;
    else
        quit_closed = 1;
}

// The first signal only leaves the quit pending for the next frame, which shuts the library
// down where no frame is being copied; a second one ends the process at once.
static void on_signal(int number) {
    int none = 0;
    if (quit_signal.compare_exchange_strong(none, number))
        return;
    signal(number, SIG_DFL);
    raise(number); // delivered, with the default action, once the handler returns
}

static void on_close_button(void) {
    request_quit(0);
}

// The X connection is gone (the window was killed): nothing can be shown or shut down any
// more, so the process ends here, before the library tries to.
static int on_display_lost(Display *) {
    _exit(0);
}

// SIGINT and SIGHUP ignored from the start (nohup, a background job), one bit each: read
// before the library's start-up, which sets handlers of its own for SIGINT.
static int ignored_from_start;

void note_inherited_signals(void) {
    for (int number : {SIGINT, SIGHUP}) {
        struct sigaction inherited = {};
        if (sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            ignored_from_start |= 1 << number;
    }
}

void install_quit_handlers(void) {
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        action.sa_handler = ignored_from_start >> number & 1 ? SIG_IGN : on_signal;
        sigaction(number, &action, nullptr);
    }
    set_close_button_callback(on_close_button);
    XSetIOErrorHandler(on_display_lost);
}

void act_on_pending_quit(void) {
    int number = quit_signal;
    if (number) {
        allegro_exit();
        signal(number, SIG_DFL);
        raise(number);
        _exit(128 + number); // not reached: the default action of these signals ends the process
    }
    if (quit_closed)
        exit(0);
}
