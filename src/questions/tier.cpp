// The tier files of a game: which file a level loads and from which folder, and the orderly end
// when one cannot be loaded.
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>
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

// The path without its "." steps and with each "name/.." left out, so a folder has one name (its
// hall of fame, its messages) however it was typed: "kviz", "./kviz", "a/../kviz".
static std::string tidy_path(const std::string &path) {
    size_t root = path.find_first_not_of(PATH_SEPARATORS);
    if (root == std::string::npos)
        return path;
    std::vector<std::string> steps;
    for (size_t at = root, end; at < path.size(); at = end + 1) {
        end = std::min(path.find_first_of(PATH_SEPARATORS, at), path.size());
        std::string step = path.substr(at, end - at);
        if (step == ".." && steps.size() > (root ? 0u : 1u) && steps.back() != "..")
            steps.pop_back(); // never the drive or first folder of a path without a root
        else if (!step.empty() && step != ".")
            steps.push_back(step);
    }
    std::string tidy = path.substr(0, root);
    for (size_t i = 0; i < steps.size(); i++)
        tidy += (i ? std::string(1, PATH_SEPARATORS[0]) : "") + steps[i];
    return tidy;
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
    std::string tidy = tidy_path(absolute);
    if (tier_path(longest, sizeof longest, tidy.c_str(), 6))
        return 1;
    std::snprintf(question_folder, sizeof question_folder, "%s", tidy.c_str());
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
