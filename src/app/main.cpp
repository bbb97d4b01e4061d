// Start-up, the main loop over games and shutdown; owns the timer tick.
#include "app/main.h"
#include <allegro.h>
#include <cstdlib>
#include <ctime>
#include "app/command_line.h"
#include "app/display.h"
#include "app/records.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "sound/sound.h"

std::atomic<int> tick_count{0};

void tick_handler(void) {
    tick_count++;
}
END_OF_FUNCTION(tick_handler)

static const char NO_GRAPHICS[] = "Nemozem nastartovat graficky mod\n";

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

int game_main(int argc, char *argv[]) {
    prepare_process();
    utf8_command_line(&argc, &argv);
    int status = parse_command_line(argc, argv);
    if (status >= 0)
        return status;
    if (options.results)
        return print_hall_of_fame();
    load_player_data();
    name_window();
    note_inherited_signals();
    // Without a usable system driver (no display) the input drivers would crash: stop here.
    if (allegro_init() != 0)
        return start_failure(NO_GRAPHICS, 0);
    install_quit_handlers();
    install_keyboard();
    install_mouse();
    // Without the timer the blink and the animations would wait for ever: a start-up failure.
    if (install_timer() != 0)
        return start_failure(NO_GRAPHICS, 0);
    set_color_depth(32);
    if (open_display(run_settings.fullscreen) != 0)
        return start_failure(NO_GRAPHICS, 1);
    watch_for_repaints(frame_needs_whole_copy);
    install_frame_work();
    LOCK_VARIABLE(tick_count);
    LOCK_FUNCTION(tick_handler);
    if (install_int(tick_handler, 10) != 0)
        return start_failure(NO_GRAPHICS, 1);
    srand(time(NULL));
    if (load_resources() == 1)
        return start_failure("Nemozem nacitat bitmapy\n", 1);
    set_text_background(makecol(255, 0, 255));
    start_sound(run_settings.muted); // never fails: the game plays on silently
    update_window_title();
    return main_loop();
}
