// The game on the desktop: the window's scale, the graphics mode, the switch to full screen and
// back, and the window's title.
#pragma once
#include <string>

// The window's factor on a desktop_w x desktop_h desktop: the one asked for (0 for none) when
// the window and the window manager's room around it fit, else the largest that fits (at least 1).
int window_scale(int asked, int desktop_w, int desktop_h);

// Sets the graphics mode the options ask for, falling back from full screen to a window and
// from a scaled window to scale 1; names, decorates and places the window. 0 on success.
int open_display(void);

// F11 or Alt+Enter switches between the window and full screen, remembered.
void poll_display_keys(void);

// "Rebrik", with the best title once there is one ("Rebrik - rekord: 10 Blavak") and " - ticho"
// while muted, the sign of muting that changes no game frame; and setting it.
std::string window_title(void);
void update_window_title(void);
