// Muting: one state, the sound's, changed only by set_muted; --ticho and the settings decide it
// at start, M toggles it; the title shows it, and in full screen a note for a second.
#include "app/muting.h"
#include <allegro.h>
#include "app/display.h"
#include "app/input.h"
#include "gfx/gfx.h"
#include "player/player.h"
#include "sound/sound.h"

void set_muted(int muted) {
    mute_sound(muted);
    player_save_settings({sound_muted, -1});
    update_window_title();
    if (showing_fullscreen()) // no title bar to show it in
        show_note(muted ? "Zvuk vypnutý" : "Zvuk zapnutý");
}

void poll_mute_key(void) {
    static int held;
    if (fresh_presses(key[KEY_M] != 0, &held))
        set_muted(!sound_muted);
}
