// The game on an X11 desktop: the window's name and icon, the pointer left where the player
// put it, quitting through the close button, a signal or a lost display, and starting the sound
// driver without its noise.
#include <allegro.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>
#include <xalleg.h>
#include "platform/platform.h"
#include "platform/icon.xpm"

// The library's icon for its windows: XPM data, read when the window is made.
extern "C" void *allegro_icon;

// The launcher starts the game in its data folder.
void prepare_process(void) {}

void name_window(void) {
    allegro_icon = (void *)rebrik_icon_xpm;
    xwin_set_window_name("rebrik", "Rebrik");
}

// Setting a mode puts the library's pointer at the window's centre, wherever the real one is,
// and arms a warp that a few hundred ms later moves the real pointer there to match: the arrow
// would jump under the player's hand. Instead the library's pointer is put where the real one
// is, and the warp disarmed. The game only reads the pointer afterwards.
void settle_pointer(void) {
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

// The X connection is gone (the window was killed, the X server ended): nothing can be shown or
// shut down any more, so the process ends here, before the library tries to, with status 1, as
// the game ends when it cannot show itself.
static int on_display_lost(Display *) {
    _exit(1);
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

// The return from main runs the library's shutdown, which gives the desktop its mode back.
int end_program(int status) {
    return status;
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

// install_sound with standard error pointed at /dev/null for its length: the sound library
// under the driver writes a dozen lines there when the machine has no sound device, which is
// no concern of the player's. The game's other threads write nothing there meanwhile, and the
// old stream comes back.
int install_sound_quietly(void) {
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO), null = open("/dev/null", O_WRONLY);
    bool redirected = saved >= 0 && null >= 0 && dup2(null, STDERR_FILENO) >= 0;
    int result = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    std::fflush(stderr);
    if (redirected)
        dup2(saved, STDERR_FILENO);
    if (saved >= 0)
        close(saved);
    if (null >= 0)
        close(null);
    return result;
}

// The library's X11 window shows its own copy of the screen again whenever it is uncovered.
void watch_for_repaints(void (*)(void)) {}
