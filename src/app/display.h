// The game on the desktop: the window's scale, the graphics mode, the switch to full screen and
// back, and the window's title.
#pragma once
#include <string>
#include "gfx/gfx.h"

// The window's factor on a desktop_w x desktop_h desktop: the one asked for (0 for none) when
// the window and the window manager's room around it fit, else the largest that fits (at least 1).
int window_scale(int asked, int desktop_w, int desktop_h);

// How full screen shows the frame on a screen_w x screen_h screen, centred: enlarged by the largest
// whole factor that fits, exactly, where that fills at least 7/8 of the height of the largest 4:3
// picture the screen holds (1920x1080: 2x, 960 rows of 1080); else enlarged by that factor and
// smoothed to that picture's size (1366x768: 1x smoothed to 1024x768).
View fullscreen_view(int screen_w, int screen_h);

// Whether the game shows full screen now.
int showing_fullscreen(void);

// Sets full screen when fullscreen is set, else the window --scale asks for, falling back from
// full screen to a window and from a scaled window to scale 1; names, decorates and places the
// window. 0 on success.
int open_display(int fullscreen);

// F11 or Alt+Enter switches between the window and full screen, remembered.
void poll_display_keys(void);

// "Rebrik", with the best title once there is one ("Rebrik - rekord: 10 Blavak") and " - ticho"
// while muted, the sign of muting that changes no game frame; and setting it.
std::string window_title(void);
void update_window_title(void);
