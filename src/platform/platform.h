// What differs between the desktops the game runs on: one file per platform (x11.cpp, win.cpp),
// chosen by the build, behind this one header.
#pragma once

// First thing at start: on Windows joins the console the game was started from (for --help,
// --version and Ctrl+C) and makes the folder of rebrik.exe the working directory where the
// working directory lacks the data. On X11 the launcher has done what is needed.
void prepare_process(void);

// Gives the window the library will make its class name and our icon; before allegro_init.
void name_window(void);

// Notes whether SIGINT and SIGHUP were ignored when the game started (nohup, a background job),
// so they stay ignored; before allegro_init, which sets handlers of its own.
void note_inherited_signals(void);

// set_gfx_mode with the given driver at w x h, 0 on success. Full screen (the driver
// GFX_AUTODETECT_FULLSCREEN) is first the desktop's own: on X11 a window of the screen's size the
// window manager shows full screen, where one runs that can; then the library's.
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
// the window to be painted again, where the system does not keep what was copied to a window.
void watch_for_repaints(void (*repaint)(void));
