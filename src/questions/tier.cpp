// The tier files of a game: which file a level loads and from which folder, and the orderly end
// when one cannot be loaded.
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "game/game.h"
#include "platform/platform.h"
#include "questions/questions.h"

// The folder of the tier files, absolute; "" for the working directory.
static char question_folder[QUESTION_PATH_SIZE];

const char *tier_file_name(int at_level) {
    return at_level >= 11 ? "tazke.txt" : at_level >= 6 ? "stredne.txt" : "lahke.txt";
}

// folder and name joined by a separator (none after "" or a folder ending in one) into path. 1
// when it does not fit in size bytes.
static int join_path(char *path, int size, const char *folder, const char *name) {
    size_t n = std::strlen(folder);
    bool ends = n == 0 || std::strchr(PATH_SEPARATORS, folder[n - 1]);
    int used =
        std::snprintf(path, size_t(size), "%s%.*s%s", folder, ends ? 0 : 1, PATH_SEPARATORS, name);
    return used < 0 || used >= size;
}

int tier_path(char *path, int size, const char *folder, int at_level) {
    return join_path(path, size, folder, tier_file_name(at_level));
}

int set_question_folder(const char *folder) {
    // Absolute, so the messages name the file in full: a relative folder is the one in the folder
    // the player started in. Joined as it stands, any bytes in the name, each system its own way.
    // A leading ~ is the home folder, as a shell would have it (the launcher leaves it to us).
    std::string home = home_folder(), given = folder;
    if (given[0] == '~' && !home.empty() && std::strchr(PATH_SEPARATORS, given[1]))
        given = home + given.substr(1);
    folder = given.c_str();
    char absolute[QUESTION_PATH_SIZE] = "", longest[QUESTION_PATH_SIZE];
    if (folder[0] && join_path(absolute, sizeof absolute,
                               absolute_path(folder) ? "" : launch_folder().c_str(), folder))
        return 1;
    if (tier_path(longest, sizeof longest, absolute, 6))
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
    // A file that could not be opened says no more; one not read (a folder) has no line.
    if (load_refusal == LOAD_NOT_OPENED || load_refusal == LOAD_OK || used < 0 || used >= size)
        return;
    char where[32] = "";
    if (load_refusal_line)
        std::snprintf(where, sizeof where, " na riadku %d", load_refusal_line);
    std::snprintf(text + used, size_t(size - used), "Chyba%s: %s\n", where,
                  refusal_text(load_refusal));
}

void end_on_tier_failure(void) {
    char text[QUESTION_PATH_SIZE + 128];
    tier_failure_message(text, sizeof text);
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", text);
    std::exit(1);
}
