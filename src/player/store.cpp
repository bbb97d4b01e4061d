// Keeping player data on disk: read once at start-up, written whole and atomically when a game
// ends or a setting changes, under a lock so that two games at once lose nothing.
#include <cstdio>
#include "player/files.h"
#include "player/player.h"

Results player_results;
Settings player_settings;

static const char RESULTS_FILE[] = "vysledky.txt";
static const char SETTINGS_FILE[] = "nastavenia.txt";

// A file of a newer version is only read, never written; nor is anything without a folder.
static bool results_frozen, settings_frozen;
static bool told_not_kept;

// Says once per run that what the player does is not kept, and why.
static void say_not_kept(const char *why) {
    if (!told_not_kept)
        std::fprintf(stderr, "rebrik: vysledky a nastavenia sa neukladaju: %s\n", why);
    told_not_kept = true;
}

// Renames a damaged file out of the way, with the date, and says so.
static void put_aside(const std::string &path) {
    std::string when = local_time_text(), stamp;
    for (char c : when)
        if (c != '-' && c != ':')
            stamp += c == ' ' ? '-' : c;
    std::string aside = path + ".poskodeny-" + stamp;
    if (rename_file(path, aside) == 0)
        std::fprintf(stderr, "rebrik: subor %s je poskodeny, odlozeny ako %s; zacina sa novy\n",
                     path.c_str(), aside.c_str());
    else
        std::fprintf(stderr, "rebrik: subor %s je poskodeny a neda sa odlozit\n", path.c_str());
}

// Reads one file into *value with parse (a missing one reads as empty). A damaged one is put
// aside and what could be read of it saved as the fresh file; a newer version's freezes the file.
// false when it cannot be read.
template <class T>
static bool read_file(const std::string &path, int (*parse)(const std::string &, T *),
                      std::string (*format)(const T &), T *value, bool *frozen) {
    std::string text;
    int r = read_whole_file(path, &text);
    if (r == 2)
        return false;
    int verdict = parse(text, value);
    if (r == 1)
        return true; // none yet: the first write makes it
    if (verdict == 2) {
        *frozen = true;
        say_not_kept("subor je z novsej verzie hry");
    }
    if (verdict == 1) {
        put_aside(path);
        if (replace_file(path, format(*value)) != 0)
            say_not_kept("subor sa neda zapisat");
    }
    return true;
}

// Why the folder of a kind cannot hold files, or null once it exists (made if missing).
static const char *folder_problem(int kind, std::string *folder) {
    *folder = player_folder(kind);
    if (folder->empty())
        return "domovsky priecinok sa nenasiel";
    return make_folders(*folder) != 0 ? "priecinok sa neda vytvorit" : nullptr;
}

// Under the folder's lock: reads the file again (another game may have written it), lets change
// alter it and replaces it. Whatever fails is said once and freezes the file for this run; the
// change still holds in memory.
template <class T, class Change>
static void update_file(int kind, const char *name, int (*parse)(const std::string &, T *),
                        std::string (*format)(const T &), T *value, bool *frozen, Change change) {
    if (*frozen) {
        change(value);
        return;
    }
    std::string folder;
    const char *problem = folder_problem(kind, &folder);
    intptr_t lock = problem ? -1 : lock_file(folder + name + ".zamok");
    T now = *value;
    if (!problem && lock < 0)
        problem = "subor sa neda zamknut";
    if (!problem && !read_file(folder + name, parse, format, &now, frozen))
        problem = "subor sa neda citat";
    change(&now);
    if (!problem && !*frozen && replace_file(folder + name, format(now)) != 0)
        problem = "subor sa neda zapisat (disk je plny alebo len na citanie)";
    if (lock >= 0)
        unlock_file(lock);
    if (problem)
        say_not_kept(problem);
    *frozen = *frozen || problem;
    *value = now;
}

void player_load(void) {
    player_results = Results();
    player_settings = Settings{};
    results_frozen = settings_frozen = told_not_kept = false;
    std::string results = player_folder(FOLDER_RESULTS);
    std::string settings = player_folder(FOLDER_SETTINGS);
    if (!results.empty())
        read_file(results + RESULTS_FILE, parse_results, format_results, &player_results,
                  &results_frozen);
    if (!settings.empty())
        read_file(settings + SETTINGS_FILE, parse_settings, format_settings, &player_settings,
                  &settings_frozen);
}

void player_record(const GameResult &g, const std::vector<uint64_t> &met_now) {
    update_file(FOLDER_RESULTS, RESULTS_FILE, parse_results, format_results, &player_results,
                &results_frozen, [&](Results *r) {
                    r->games.push_back(g);
                    for (uint64_t h : met_now)
                        add_met(&r->met, h);
                });
}

void player_save_settings(const Settings &s) {
    update_file(FOLDER_SETTINGS, SETTINGS_FILE, parse_settings, format_settings, &player_settings,
                &settings_frozen, [&](Settings *now) {
                    if (s.muted >= 0)
                        now->muted = s.muted;
                    if (s.fullscreen >= 0)
                        now->fullscreen = s.fullscreen;
                    if (s.calm >= 0)
                        now->calm = s.calm;
                });
}
