// The game on an X11 desktop: the window's name and icon, full screen the window manager
// knows of, the pointer left where the player put it, quitting through the close button, a signal
// or a lost display, and starting the sound driver without its noise.
#include <allegro.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <initializer_list>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include "platform/platform.h"
#include "platform/icon.xpm"

// The library's icon for its windows: XPM data, read when the window is made.
extern "C" void *allegro_icon;

// The launcher starts the game in its data folder.
void prepare_process(void) {}

// The system gives the command line as it was typed, UTF-8 on a UTF-8 desktop.
void utf8_command_line(int *, char ***) {}

std::string launch_folder(void) {
    char path[4096];
    return getcwd(path, sizeof path) ? path : "";
}

// $HOME when it is an absolute path, else the home the password database gives the user (a
// shell started without HOME has one too).
std::string home_folder(void) {
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return home;
    const struct passwd *user = getpwuid(getuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "";
}

const char PATH_SEPARATORS[] = "/";

bool absolute_path(const char *path) {
    return path[0] == '/';
}

int path_kind(const char *path) {
    struct stat info;
    if (stat(path, &info) != 0)
        return PATH_MISSING;
    return S_ISREG(info.st_mode) ? PATH_FILE : S_ISDIR(info.st_mode) ? PATH_FOLDER : PATH_OTHER;
}

// Why a path that is there would not open, by what stands there (PATH_*): a folder or another
// non-file; else a file the player may not read.
static const int UNOPENED[] = {READ_FAILED, READ_FAILED, READ_FOLDER, READ_NOT_A_FILE};

int read_whole_file(const std::string &path, std::string *text, long cap) {
    text->clear();
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? READ_MISSING : UNOPENED[path_kind(path.c_str())];
    struct stat st;
    int r = fstat(fd, &st) != 0    ? READ_FAILED
            : S_ISDIR(st.st_mode)  ? READ_FOLDER
            : !S_ISREG(st.st_mode) ? READ_NOT_A_FILE
            : st.st_size > cap     ? READ_TOO_BIG
                                   : READ_DONE;
    char buffer[65536];
    ssize_t n = 0;
    while (r == READ_DONE &&
           ((n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0 && (long)text->size() + n > cap)
            r = READ_TOO_BIG; // grew while read
        else if (n > 0)
            text->append(buffer, n);
    close(fd);
    return r == READ_DONE && n < 0 ? READ_FAILED : r;
}

void name_window(void) {
    allegro_icon = (void *)rebrik_icon_xpm;
    xwin_set_window_name("rebrik", "Rebrik");
}

// The list property name of window w, of the given type (format 32), in *items (XFree it);
// how many items it has, 0 when it has none.
static unsigned long list_property(Window w, const char *name, Atom type, unsigned char **items) {
    Atom got_type;
    int format;
    unsigned long count = 0, after;
    *items = nullptr;
    Atom property = XInternAtom(_xwin.display, name, False);
    if (XGetWindowProperty(_xwin.display, w, property, 0, 1024, False, type, &got_type, &format,
                           &count, &after, items) != Success ||
        format != 32 || !*items)
        count = 0;
    return count;
}

// Whether the list property name of window w holds the atom (or window) value.
static bool property_lists(Window w, const char *name, Atom type, unsigned long value) {
    unsigned char *items;
    unsigned long count = list_property(w, name, type, &items);
    bool found = false;
    for (unsigned long i = 0; i < count; i++)
        found = found || ((unsigned long *)items)[i] == value;
    if (items)
        XFree(items);
    return found;
}

// A window manager is running that can show a window full screen: the window the root names as
// the manager's names itself too (a manager that ended leaves a stale name), and the root lists
// _NET_WM_STATE_FULLSCREEN among what the manager supports.
static bool manager_does_fullscreen(void) {
    Window root = XDefaultRootWindow(_xwin.display);
    unsigned char *items;
    unsigned long manager = 0;
    if (list_property(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &items) == 1)
        manager = *(unsigned long *)items;
    if (items)
        XFree(items);
    Atom fullscreen = XInternAtom(_xwin.display, "_NET_WM_STATE_FULLSCREEN", False);
    return manager && property_lists(manager, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, manager) &&
           property_lists(root, "_NET_SUPPORTED", XA_ATOM, fullscreen);
}

// Asks the window manager to show the library's managed window full screen, as a program asks
// it on its player's behalf.
static void ask_manager_fullscreen(void) {
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = _xwin.wm_window;
    e.xclient.message_type = XInternAtom(_xwin.display, "_NET_WM_STATE", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1; // add
    e.xclient.data.l[1] = (long)XInternAtom(_xwin.display, "_NET_WM_STATE_FULLSCREEN", False);
    e.xclient.data.l[3] = 1; // from an ordinary program
    XSendEvent(_xwin.display, XDefaultRootWindow(_xwin.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(_xwin.display);
}

// Full screen as the desktop expects it: an ordinary window at the screen's size, which the window
// manager shows full screen on request; it lists the window, closes it (Alt+F4) and switches away
// from it (Alt+Tab). 0 on success; 1 where no manager that can is running, or the window cannot
// be had.
static int set_managed_fullscreen(int w, int h) {
    XLOCK();
    bool can = _xwin.display && _xwin.wm_window != None && manager_does_fullscreen();
    XUNLOCK();
    if (!can || set_gfx_mode(GFX_XWINDOWS, w, h, 0, 0) != 0)
        return 1;
    XLOCK();
    ask_manager_fullscreen();
    XUNLOCK();
    return 0;
}

// The window is made anew (unmapped and mapped again) for each mode, and a window manager reads
// its state when it maps it: a window after full screen is asked for without it, as it was
// before.
int set_mode(int driver, int w, int h) {
    if (driver == GFX_AUTODETECT_FULLSCREEN && set_managed_fullscreen(w, h) == 0)
        return 0;
    XLOCK();
    if (_xwin.display && _xwin.wm_window != None)
        XDeleteProperty(_xwin.display, _xwin.wm_window,
                        XInternAtom(_xwin.display, "_NET_WM_STATE", False));
    XUNLOCK();
    return set_gfx_mode(driver, w, h, 0, 0);
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
