// Keeping player data on disk: read once at start-up, written whole and atomically when a game
// ends or a setting changes, under a lock so that two games at once lose nothing.
#include <cctype>
#include <cstdio>
#include "player/files.h"
#include "player/player.h"

Results player_results;
Settings player_settings;

// One file of player data: where it lives, its text, and what this run has not yet written.
template <class T> struct Store {
    int folder;       // FOLDER_*
    std::string name; // the file's name in the folder
    int (*parse)(const std::string &, T *);
    std::string (*format)(const T &);
    void (*add)(T *into, const T &change); // applies a change
    T none;                                // no change at all
    T *value;                              // what the game sees
    T unsaved;                             // changes not yet on disk: the next write adds them
    bool frozen;                           // a newer version's file: only read
};

static void add_results(Results *into, const Results &change) {
    into->games.insert(into->games.end(), change.games.begin(), change.games.end());
    for (uint64_t h : change.met)
        add_met(&into->met, h);
}

static void add_settings(Settings *into, const Settings &change) {
    if (change.muted >= 0)
        into->muted = change.muted;
    if (change.fullscreen >= 0)
        into->fullscreen = change.fullscreen;
    if (change.calm >= 0)
        into->calm = change.calm;
}

static Store<Results> results_store = {FOLDER_RESULTS,  "vysledky.txt", parse_results,
                                       format_results,  add_results,    Results(),
                                       &player_results, Results(),      false};
static Store<Settings> settings_store = {FOLDER_SETTINGS,  "nastavenia.txt", parse_settings,
                                         format_settings,  add_settings,     Settings{},
                                         &player_settings, Settings{},       false};

static bool told_not_kept;

// Says once per run that what the player does is not kept, and why; again when a later write
// will try again.
static void say_not_kept(const char *why, bool again) {
    if (!told_not_kept)
        std::fprintf(stderr, "rebrik: vysledky a nastavenia sa %s: %s\n",
                     again ? "zatial neulozili (hra to skusi znova)" : "neukladaju", why);
    told_not_kept = true;
}

// Renames a damaged file out of the way under a name with the date that no file has yet, and
// says so. 0 when it is aside.
static int put_aside(const std::string &path) {
    std::string when = local_time_text(), stamp, aside;
    for (char c : when)
        if (c != '-' && c != ':')
            stamp += c == ' ' ? '-' : c;
    int r = 1;
    for (int n = 1; r == 1 && n < 100; n++) {
        aside = path + ".poskodeny-" + stamp + (n > 1 ? "-" + std::to_string(n) : "");
        r = move_aside(path, aside);
    }
    if (r == 0)
        std::fprintf(stderr, "rebrik: subor %s je poskodeny, odlozeny ako %s; zacina sa novy\n",
                     path.c_str(), aside.c_str());
    return r;
}

// Reads the file at path into *now: 0 sound or missing, 1 damaged (what parsed is in *now), 2
// a newer version's (what this version understands is in *now), 3 it cannot be read.
template <class T> static int read_store(const Store<T> &s, const std::string &path, T *now) {
    std::string text;
    int r = read_whole_file(path, &text, MAX_PLAYER_FILE);
    if (r >= READ_FAILED)
        return 3;
    if (r == READ_TOO_BIG)
        text.clear(); // read as empty: damaged
    int verdict = s.parse(text, now);
    return r == READ_MISSING ? 0 : verdict;
}

// Why the folder of a kind cannot hold files, or null once it exists (made if missing).
static const char *folder_problem(int kind, std::string *folder) {
    *folder = player_folder(kind);
    if (folder->empty())
        return "domovsky priecinok sa nenasiel";
    return make_folders(*folder) != 0 ? "priecinok sa neda vytvorit" : nullptr;
}

// Why a write failed, by WRITE_*.
static const char *const WRITE_PROBLEMS[] = {"",
                                             "subor sa neda zapisat",
                                             "disk je plny",
                                             "disk je len na citanie",
                                             "chyba opravnenie na zapis",
                                             "subor ma otvoreny iny program"};

// Under the folder's lock: reads the file again (another game may have written it), sets a
// damaged one aside, adds what this run has not yet written and replaces the file. Whatever
// fails is said once and leaves the file as it was; the changes stay in memory and the next
// write tries again.
template <class T> static void write_store(Store<T> &s) {
    std::string folder;
    const char *problem = folder_problem(s.folder, &folder);
    std::string path = folder + s.name;
    intptr_t lock = problem ? -1 : lock_file(path + ".zamok");
    if (!problem && lock < 0)
        problem = "subor sa neda zamknut";
    T now = s.none;
    int verdict = problem ? 0 : read_store(s, path, &now);
    if (verdict == 3)
        problem = "subor sa neda citat";
    if (verdict == 2)
        s.frozen = true, problem = "subor je z novsej verzie hry";
    if (verdict == 1 && put_aside(file_behind(path)) != 0)
        problem = "poskodeny subor sa neda odlozit";
    int written = WRITE_FAILED;
    if (!problem) {
        s.add(&now, s.unsaved);
        written = replace_file(file_behind(path), s.format(now));
        problem = written == WRITE_DONE ? nullptr : WRITE_PROBLEMS[written];
    }
    if (lock >= 0)
        unlock_file(lock);
    if (written == WRITE_DONE)
        *s.value = now, s.unsaved = s.none;
    if (problem)
        say_not_kept(problem, !s.frozen);
}

// A change the game makes: seen at once, written now or with a later write.
template <class T> static void change_store(Store<T> &s, const T &change) {
    s.add(s.value, change);
    s.add(&s.unsaved, change);
    if (!s.frozen)
        write_store(s);
}

// Reads one file at start-up; a damaged one is set aside and begun afresh under the lock, unless
// only_read.
template <class T> static void load_store(Store<T> &s, bool only_read) {
    *s.value = s.unsaved = s.none;
    s.frozen = false;
    std::string folder = player_folder(s.folder);
    int verdict = folder.empty() ? 0 : read_store(s, folder + s.name, s.value);
    if (verdict == 2)
        s.frozen = true, say_not_kept("subor je z novsej verzie hry", false);
    if (verdict == 1 && !only_read)
        write_store(s);
}

// A folder's path without separators at its end.
static std::string trimmed(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

std::string question_set_name(const std::string &folder) {
    std::string path = trimmed(folder);
    return path.substr(path.find_last_of("/\\") + 1);
}

void player_choose_hall(const std::string &question_folder) {
    std::string name;
    for (char c : question_set_name(question_folder))
        if (std::isalnum((unsigned char)c) || c == '-' || c == '_')
            name += c;
    char hash[16]; // two folders of one name keep apart
    std::snprintf(hash, sizeof hash, "%08x",
                  unsigned(question_hash(trimmed(question_folder).c_str(), "")));
    results_store.name = question_folder.empty()
                             ? "vysledky.txt"
                             : "vysledky-" + name.substr(0, 32) + "-" + hash + ".txt";
}

void player_load(bool only_read) {
    told_not_kept = false;
    load_store(results_store, only_read);
    load_store(settings_store, only_read);
}

void player_record(const GameResult &g, const std::vector<uint64_t> &met_now) {
    Results change;
    change.games.push_back(g);
    for (uint64_t h : met_now)
        add_met(&change.met, h);
    change_store(results_store, change);
}

void player_save_settings(const Settings &s) {
    change_store(settings_store, s);
}
