// The game on a desktop: the window at the largest whole scale that fits, or full screen, the
// switch between them, and the window's title.
#include "app/display.h"
#include <allegro.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include "app/command_line.h"
#include "app/input.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "player/player.h"
#include "sound/sound.h"

// Room a window manager needs around the window (borders, title bar, panels), so the largest
// factor still leaves the whole window on the desktop.
constexpr int ROOM_W = 32, ROOM_H = 96;

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

View fullscreen_view(int screen_w, int screen_h) {
    int s = fitting_scale(screen_w, screen_h, 0, 0);
    int fill_h = std::min(screen_h, screen_w * FRAME_H / FRAME_W),
        fill_w = fill_h * FRAME_W / FRAME_H;
    if (FRAME_H * s * 8 >= fill_h * 7)
        fill_w = FRAME_W * s, fill_h = FRAME_H * s;
    return {s, (screen_w - fill_w) / 2, (screen_h - fill_h) / 2, fill_w, fill_h};
}

// Whether the screen shows the game full screen now.
static int fullscreen_now;

int showing_fullscreen(void) {
    return fullscreen_now;
}

// Sets a w x h mode with the given driver and the frame shown as v on it, on black. 0 on success.
static int try_mode(int driver, int w, int h, View v) {
    if (set_mode(driver, w, h) != 0)
        return 1;
    settle_pointer();
    if (set_view(v) != 0)
        return 1;
    clear_to_color(screen, makecol(0, 0, 0));
    fullscreen_now = driver == GFX_AUTODETECT_FULLSCREEN;
    return 0;
}

// Full screen at the desktop's size, the frame centred; else a window scaled by the factor
// asked for or the largest that fits; else a 640x480 window; else whatever 640x480 mode the
// library can set.
int open_display(int fullscreen) {
    int dw, dh;
    if (get_desktop_resolution(&dw, &dh) != 0)
        dw = FRAME_W, dh = FRAME_H;
    if (fullscreen && try_mode(GFX_AUTODETECT_FULLSCREEN, dw, dh, fullscreen_view(dw, dh)) == 0)
        return 0;
    int s = window_scale(options.scale, dw, dh);
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

// Between the window and full screen, remembered; the next frame is drawn whole on the new screen.
// If neither mode can be had any more the game cannot go on: message A, status 1.
static void switch_display(void) {
    if (open_display(!fullscreen_now) != 0) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Nemozem nastartovat graficky mod\n");
        exit(1);
    }
    player_save_settings({-1, fullscreen_now});
}

void poll_display_keys(void) {
    static int held;
    if (fresh_presses(key[KEY_F11] || (alt_held() && key[KEY_ENTER]), &held))
        switch_display();
}

std::string window_title(void) {
    std::string title = "Rebrik";
    Standings s = standings_of(player_results);
    if (!s.best.empty() && s.best[0].kept > 0)
        title +=
            " - rekord: " + std::to_string(s.best[0].kept) + " " + level_titles[s.best[0].kept];
    return sound_muted ? title + " - ticho" : title;
}

void update_window_title(void) {
    set_window_title(window_title().c_str());
}
