// The game on a Windows desktop: its console and data folder, quitting through the close button,
// Alt+F4, Ctrl+C or the end of the session, whole repaints, and messages a script can read.
#include <allegro.h>
#include <winalleg.h>
#include <mmsystem.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>
#include "platform/platform.h"

// A quit asked for: by a console event (its number), or by the close button or the session.
static std::atomic<int> quit_console_event{-1}, quit_closed{0};

// One of the game's pictures: where it is missing, the working directory is not the data folder.
static const wchar_t DATA_MARK[] = L"pozadiep.tga";

// A program with a window of its own starts without a console. Started from a command prompt,
// it joins that one for --help, --version and Ctrl+C, unless its output was redirected.
static void join_console(void) {
    if (GetStdHandle(STD_OUTPUT_HANDLE) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    SetConsoleOutputCP(CP_UTF8); // --help and --vysledky are UTF-8
}

// A double-click in Explorer or a shortcut without a working directory starts the game elsewhere:
// the folder of rebrik.exe is the data folder then. Wide names, so any folder name works.
static void find_data_folder(void) {
    if (GetFileAttributesW(DATA_MARK) != INVALID_FILE_ATTRIBUTES)
        return;
    wchar_t path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    while (n > 0 && path[n - 1] != L'\\' && path[n - 1] != L'/')
        n--;
    path[n] = 0;
    SetCurrentDirectoryW(path);
}

std::wstring wide(const std::string &text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &w[0], n);
    return w;
}

std::string narrow(const wchar_t *text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &s[0], n, nullptr, nullptr);
    return s;
}

// The folder the player started the game in, kept before find_data_folder may leave it.
static std::string first_folder;

static std::string current_folder(void) {
    static wchar_t path[32768];
    DWORD n = GetCurrentDirectoryW(32768, path);
    return n > 0 && n < 32768 ? narrow(path) : "";
}

std::string launch_folder(void) {
    return first_folder.empty() ? current_folder() : first_folder;
}

// Sleeps on Windows end on the system's timer tick, 15.6 ms unless a program asks for a finer
// one: the animations' pauses of 5 ms and 1 ms need 1 ms.
void prepare_process(void) {
    join_console();
    first_folder = current_folder();
    find_data_folder();
    timeBeginPeriod(1);
}

void utf8_command_line(int *argc, char ***argv) {
    static std::vector<std::string> texts;
    static std::vector<char *> pointers;
    int n = 0;
    wchar_t **args = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!args)
        return;
    texts.clear();
    for (int i = 0; i < n; i++)
        texts.push_back(narrow(args[i]));
    LocalFree(args);
    pointers.clear();
    for (std::string &text : texts)
        pointers.push_back(&text[0]);
    pointers.push_back(nullptr);
    *argc = n;
    *argv = pointers.data();
}

std::string home_folder(void) {
    return "";
}

const char PATH_SEPARATORS[] = "\\/";

bool absolute_path(const char *path) {
    return path[0] == '\\' || path[0] == '/' || (path[0] && path[1] == ':');
}

int path_kind(const char *path) {
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PATH_MISSING;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PATH_FOLDER
           : attributes & FILE_ATTRIBUTE_DEVICE  ? PATH_OTHER
                                                 : PATH_FILE;
}

// Why a path that is there would not open, by what stands there (PATH_*): a folder or another
// non-file; else a file the player may not read.
static const int UNOPENED[] = {READ_FAILED, READ_FAILED, READ_FOLDER, READ_NOT_A_FILE};

int read_whole_file(const std::string &path, std::string *text, long cap) {
    text->clear();
    // Shared for deletion too, so another game or a virus scanner may replace it meanwhile.
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND
                   ? READ_MISSING
                   : UNOPENED[path_kind(path.c_str())];
    }
    LARGE_INTEGER size;
    int r = GetFileType(h) != FILE_TYPE_DISK ? READ_NOT_A_FILE
            : !GetFileSizeEx(h, &size)       ? READ_FAILED
            : size.QuadPart > cap            ? READ_TOO_BIG
                                             : READ_DONE;
    char buffer[65536];
    DWORD n;
    BOOL ok = TRUE;
    while (r == READ_DONE && (ok = ReadFile(h, buffer, sizeof buffer, &n, nullptr)) && n > 0)
        if ((long)text->size() + (long)n > cap)
            r = READ_TOO_BIG; // grew while read
        else
            text->append(buffer, n);
    CloseHandle(h);
    return r == READ_DONE && !ok ? READ_FAILED : r;
}

// The window's icon is the program's own: the resource named allegro_icon, which the library
// gives the window class. The title is set with the mode.
void name_window(void) {}

// Windows has no signals a program inherits ignored.
void note_inherited_signals(void) {}

// The monitor full screen covers: the one window is on, else the primary one, whichever is w x h
// (the size the caller chose the picture for). 1 where neither is.
static int monitor_of_size(HWND window, int w, int h, MONITORINFO *info) {
    for (HMONITOR monitor : {MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                             MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)}) {
        info->cbSize = sizeof *info;
        const RECT &r = info->rcMonitor;
        if (GetMonitorInfo(monitor, info) && r.right - r.left == w && r.bottom - r.top == h)
            return 0;
    }
    return 1;
}

// The monitor the borderless window covers while it is shown (cbSize 0 otherwise).
static MONITORINFO covered;

// Full screen as the desktop expects it: the library's window mode at the monitor's size, its
// window without frame or title over the whole monitor, the display mode left as it is. Leaving
// the previous mode first gives the window the library's framed style back; the mode is set as a
// popup, which the library sizes to exactly w x h (a frame would not fit on the monitor). Its
// window modes are a multiple of 4 pixels wide: on a monitor 1366 wide the last 2 of 1368 columns
// fall outside the window.
static int set_borderless(int w, int h) {
    HWND window = win_get_window();
    MONITORINFO monitor;
    if (!window || monitor_of_size(window, w, h, &monitor) != 0)
        return 1;
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    LONG framed = GetWindowLong(window, GWL_STYLE);
    SetWindowLong(window, GWL_STYLE, (framed & ~(WS_CAPTION | WS_THICKFRAME)) | WS_POPUP);
    if (set_gfx_mode(GFX_DIRECTX_WIN, (w + 3) & ~3, h, 0, 0) != 0) {
        SetWindowLong(window, GWL_STYLE, framed);
        return 1;
    }
    const RECT &r = monitor.rcMonitor;
    SetWindowPos(window, HWND_TOP, r.left, r.top, w, h, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    covered = monitor;
    return 0;
}

// The framed window back from full screen, centred on the free part of the monitor that was
// covered: the library would place it by where it last knew its window to be, which the moves to
// and from full screen leave unreliable.
static void centre_window(const RECT &free) {
    HWND window = win_get_window();
    RECT r;
    GetWindowRect(window, &r);
    int x = (free.left + free.right - (r.right - r.left)) / 2,
        y = (free.top + free.bottom - (r.bottom - r.top)) / 2;
    SetWindowPos(window, nullptr, std::max(x, (int)free.left), std::max(y, (int)free.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// What watch_for_repaints was given: called when the system asks for the window to be painted
// again, and when the game comes back to the front.
static void (*repaint_asked)(void);

// The game goes on behind other windows, as on other desktops. Each mode the library sets pauses
// it there instead and forgets the callback.
static void keep_running_behind(void) {
    set_display_switch_mode(SWITCH_BACKGROUND);
    if (repaint_asked)
        set_display_switch_callback(SWITCH_IN, repaint_asked);
}

// Full screen is first the borderless window, then the library's own.
int set_mode(int driver, int w, int h) {
    MONITORINFO was = covered;
    covered.cbSize = 0;
    if ((driver != GFX_AUTODETECT_FULLSCREEN || set_borderless(w, h) != 0) &&
        set_gfx_mode(driver, w, h, 0, 0) != 0)
        return 1;
    if (was.cbSize && !covered.cbSize && is_windowed_mode())
        centre_window(was.rcWork);
    keep_running_behind();
    return 0;
}

// The library's Windows pointer follows the system's and never moves it.
void settle_pointer(void) {}

void request_quit(int console_event) {
    if (console_event)
        quit_console_event = console_event;
    else
        quit_closed = 1;
}

// Ctrl+C and Ctrl+Break leave the quit pending for the next frame; closing the console, logging
// off or shutting down end the game as its close button does.
static BOOL WINAPI on_console_event(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        quit_console_event = (int)event;
    else
        quit_closed = 1;
    return TRUE;
}

static void on_close_button(void) {
    request_quit(0);
}

// The session may end the process as soon as WM_ENDSESSION returns: the answer waits (a few
// seconds at most) for the game's next frame, which ends the game with status 0.
static void end_with_session(void) {
    request_quit(0);
    Sleep(5000);
}

// Called by the library's window procedure first: the end of the session ends the game in order,
// and a paint request has the next frame copied whole. Every message then goes on to the library.
static int on_window_message(HWND, UINT message, WPARAM wparam, LPARAM, int *) {
    if (message == WM_ENDSESSION && wparam)
        end_with_session();
    if (message == WM_PAINT && repaint_asked)
        repaint_asked();
    return 1;
}

// The library's message box, and the same text on standard output where there is one (a
// command prompt, its redirection, a script), which sees it without the box's OK.
static void (*show_message_box)(const char *);

static void show_message(const char *text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE) {
        std::fputs(text, stdout);
        std::fflush(stdout);
    }
    show_message_box(text);
}

static void route_messages(void) {
    if (system_driver && system_driver->message && system_driver->message != show_message) {
        show_message_box = system_driver->message;
        system_driver->message = show_message;
    }
}

void install_quit_handlers(void) {
    SetConsoleCtrlHandler(on_console_event, TRUE);
    set_close_button_callback(on_close_button);
    win_set_msg_pre_proc(on_window_message);
    route_messages();
}

// The process ends at once, without the library's shutdown or the system DLLs' farewells: the
// library's window thread can wait for a lock this thread holds while this one waits for it
// (seen under Wine after Escape and after the close button). The game's files are written by
// then, and Windows frees the window, DirectX and the sound device with the process.
int end_program(int status) {
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), (UINT)status);
    return status;
}

void act_on_pending_quit(void) {
    // Ctrl+C ends with the status Windows gives a program it interrupted, so a script tells it
    // from an end.
    if (quit_console_event >= 0)
        end_program((int)CONTROL_C_EXIT);
    if (quit_closed)
        end_program(0);
}

void watch_for_repaints(void (*repaint)(void)) {
    repaint_asked = repaint;
    keep_running_behind();
}

// DirectSound, or the wave-out driver; neither says anything when there is no sound device.
int install_sound_quietly(void) {
    return install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
}
