// The shell's work once per frame, the one thing presenting a frame does besides drawing it.
#include "app/app.h"
#include "gfx/gfx.h"
#include "sound/sound.h"

void (*test_frame_hook)(void);

static void after_frame(void) {
    poll_sound_keys();
    if (test_frame_hook)
        test_frame_hook();
    remember_muting();
    poll_display_keys();
    act_on_pending_quit();
}

void install_frame_work(void) {
    frame_shown_hook = after_frame;
}
