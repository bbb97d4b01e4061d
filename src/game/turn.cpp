// Placeholder rules until the turn controller lands: an intro and a board that waits for Escape.
#include "game/game.h"
#include "app/app.h"
#include "gfx/gfx.h"
#include "questions/questions.h"

int level;
int lifelines_used;

void new_game(void) {
    level = 1;
    draw_text_layer(TEXT_INTRO);
    draw_panel_layer(PANEL_NO_QUESTION);
    lifelines_used = 0;
    wait_click();
}

int play_turn(void) {
    wait_click();
    return 0;
}

void blink_correct(void) {}
