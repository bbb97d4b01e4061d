// The tier files of a game: which file a level loads and from which folder, and the orderly end
// when one cannot be loaded.
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "game/game.h"
#include "questions/questions.h"

// The folder of the tier files, absolute; "" for the working directory.
static char question_folder[QUESTION_PATH_SIZE];

const char *tier_file_name(int at_level) {
    return at_level >= 11 ? "tazke.txt" : at_level >= 6 ? "stredne.txt" : "lahke.txt";
}

int tier_path(char *path, int size, const char *folder, int at_level) {
    size_t n = std::strlen(folder);
    const char *separator = n > 0 && folder[n - 1] != '/' ? "/" : "";
    int used =
        std::snprintf(path, size_t(size), "%s%s%s", folder, separator, tier_file_name(at_level));
    return used < 0 || used >= size;
}

int set_question_folder(const char *folder) {
    // The library's canonical form is absolute, so the messages name the file in full, and it
    // works on every platform (a leading ~ is the home folder, as a shell would have it).
    char absolute[QUESTION_PATH_SIZE] = "", longest[QUESTION_PATH_SIZE];
    if (folder[0])
        canonicalize_filename(absolute, folder, sizeof absolute);
    if (std::strlen(absolute) + 1 >= sizeof absolute ||
        tier_path(longest, sizeof longest, absolute, 6))
        return 1;
    std::memcpy(question_folder, absolute, sizeof question_folder);
    return 0;
}

const char *question_folder_path(void) {
    return question_folder;
}

int load_tier_of(int at_level) {
    char path[QUESTION_PATH_SIZE];
    tier_path(path, sizeof path, question_folder, at_level); // fits: set_question_folder checked
    return load_question_file(path);
}

int load_tier(void) {
    return load_tier_of(level);
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
    char text[QUESTION_PATH_SIZE + 128];
    tier_failure_message(text, sizeof text);
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", text);
    std::exit(1);
}
