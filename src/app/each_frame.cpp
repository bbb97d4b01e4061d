// The shell's work once per frame, the one thing presenting a frame does besides drawing it.
#include "app/display.h"
#include "app/main.h"
#include "app/muting.h"
#include "gfx/gfx.h"
#include "platform/platform.h"

void (*test_frame_hook)(void);

static void after_frame(void) {
    poll_mute_key();
    if (test_frame_hook)
        test_frame_hook();
    poll_display_keys();
    act_on_pending_quit();
}

void install_frame_work(void) {
    frame_shown_hook = after_frame;
}
