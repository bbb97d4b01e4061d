// The tier files of a game: which file a level loads, and the orderly end when one cannot be.
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include "game/game.h"
#include "questions/questions.h"

const char *tier_file_name(int at_level) {
    return at_level >= 11 ? "tazke.txt" : at_level >= 6 ? "stredne.txt" : "lahke.txt";
}

int load_tier(void) {
    return load_question_file(tier_file_name(level));
}

void tier_failure_message(char *text, int size) {
    int used =
        std::snprintf(text, size_t(size), "Nemozem nacitat otazky zo suboru %s\n", load_file_name);
    // A file that could not be opened was never read: there is no line to point at.
    if (load_refusal != LOAD_NOT_OPENED && load_refusal != LOAD_OK && used >= 0 && used < size)
        std::snprintf(text + used, size_t(size - used), "Chyba na riadku %d: %s\n",
                      load_refusal_line, refusal_text(load_refusal));
}

void end_on_tier_failure(void) {
    char text[512];
    tier_failure_message(text, sizeof text);
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", text);
    std::exit(1);
}
