// What differs between the desktops the game runs on: one file per platform (x11.cpp, win.cpp),
// chosen by the build, behind this one header.
#pragma once
#include <cstdio>
#include <string>

// First thing at start: on Windows joins the console the game was started from (for --help,
// --version and Ctrl+C) and makes the folder of rebrik.exe the working directory where the
// working directory lacks the data. On X11 the launcher has done what is needed.
void prepare_process(void);

// The command line in UTF-8. On Windows taken again from the system's wide command line: the
// library builds argv from the ANSI one, which loses every letter outside the system's code page.
void utf8_command_line(int *argc, char ***argv);

// The folder the player started the program in, in UTF-8 ("" when unknown); on Windows the one
// before prepare_process moved to the data folder.
std::string launch_folder(void);

// The player's home folder: the one a leading ~ of a path stands for, as a shell would have it,
// and the one player data goes under; "" where there is none (Windows has neither use).
std::string home_folder(void);

// Whether a path names its place without the working folder ("/..."; on Windows also "C:...",
// "\\..." and "\...").
bool absolute_path(const char *path);

// The separators of a path's parts, the first one the one that joins them.
extern const char PATH_SEPARATORS[];

// What a path names: nothing there, a file, a folder, or something else (a device, a pipe).
enum { PATH_MISSING, PATH_FILE, PATH_FOLDER, PATH_OTHER };
int path_kind(const char *path);

// What read_whole_file finds; from READ_FAILED on, the file cannot be read.
enum { READ_DONE, READ_MISSING, READ_TOO_BIG, READ_FAILED, READ_FOLDER, READ_NOT_A_FILE };
// Reads a whole file into *text, its path in UTF-8, without ever waiting for a writer: opened
// without blocking and read only when a regular file (a pipe or a device under the name is
// READ_NOT_A_FILE), of at most cap bytes. READ_*.
int read_whole_file(const std::string &path, std::string *text, long cap);

// On Windows only: UTF-8 to the system's wide characters and back.
std::wstring wide(const std::string &text);
std::string narrow(const wchar_t *text);

// Gives the window the library will make its class name and our icon; before allegro_init.
void name_window(void);

// Notes whether SIGINT and SIGHUP were ignored when the game started (nohup, a background job),
// so they stay ignored; before allegro_init, which sets handlers of its own.
void note_inherited_signals(void);

// set_gfx_mode with the given driver at w x h, 0 on success. Full screen (the driver
// GFX_AUTODETECT_FULLSCREEN) is first the desktop's own: on X11 a window of the screen's size the
// window manager shows full screen, where one runs that can; on Windows a window without frame
// or title over the monitor the game is on (else the primary one) where that is w x h, the
// display mode unchanged; then the library's, which may change the display mode.
int set_mode(int driver, int w, int h);

// Right after a mode is set: the library's pointer put where the real one is, and nothing that
// would move the real pointer under the player's hand.
void settle_pointer(void);

// Catches what asks the game to end (the window's close button, signals or the console's
// Ctrl+C, the session ending) and stops a lost display from crashing: each only leaves a quit
// pending. Right after allegro_init; on Windows it also copies the library's messages to a
// redirected standard output.
void install_quit_handlers(void);

// What a pending quit does at the next frame: a close ends with status 0, a signal shuts the
// library down and ends the process by that same signal; a second signal ends it at once.
void act_on_pending_quit(void);

// Ends the program with the game's exit status: on X11 through the usual return from main; on
// Windows at once, without the library's shutdown (see win.cpp).
int end_program(int status);

// Leaves a quit pending: 0 for the close button, else the number of the signal.
void request_quit(int signal_number);

// install_sound for the digital effects only, keeping the driver's complaints about a missing
// sound device away from the player. 0 when a driver started.
int install_sound_quietly(void);

// After the mode is set: repaint (safe from any thread) is called whenever the system asks for
// the window to be painted again, where the system does not keep what was copied to a window,
// in every mode set_mode sets from then on.
void watch_for_repaints(void (*repaint)(void));
