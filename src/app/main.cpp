// Start-up, the main loop over games and shutdown; owns the timer tick.
#include <allegro.h>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "sound/sound.h"

std::atomic<int> tick_count{0};

void tick_handler(void) {
    tick_count++;
}
END_OF_FUNCTION(tick_handler)

// Leaves the graphics mode (when one was set up), shows why the game cannot start, fails.
static int start_failure(const char *message, int leave_graphics) {
    if (leave_graphics)
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", message);
    return 1;
}

int main_loop(void) {
    while (!key[KEY_ESC]) {
        new_game();
        while (!key[KEY_ESC] && !play_turn()) {
        }
    }
    return 0;
}

// Whether the command line asks to start muted.
static int wants_silence(int argc, char *argv[]) {
    for (int i = 1; i < argc; i++)
        if (std::strcmp(argv[i], "--ticho") == 0)
            return 1;
    return 0;
}

int game_main(int argc, char *argv[]) {
    // Without a usable system driver (no display) the input drivers would crash: stop here.
    if (allegro_init() != 0)
        return start_failure("Nemozem nastartovat graficky mod\n", 0);
    install_keyboard();
    install_mouse();
    install_timer();
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT, FRAME_W, FRAME_H, 0, 0) != 0)
        return start_failure("Nemozem nastartovat graficky mod\n", 1);
    LOCK_VARIABLE(tick_count);
    LOCK_FUNCTION(tick_handler);
    install_int(tick_handler, 10);
    srand(time(NULL));
    if (load_resources() == 1)
        return start_failure("Nemozem nacitat bitmapy\n", 1);
    set_text_background(makecol(255, 0, 255));
    start_sound(wants_silence(argc, argv)); // never fails: the game plays on silently
    return main_loop();
}
