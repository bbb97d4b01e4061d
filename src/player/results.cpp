// The results and settings files as text: reading them strictly enough to notice damage, writing
// them, and the standings the hall of fame shows.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "player/player.h"

static const char RESULTS_HEADER[] = "rebrik-vysledky";
static const char SETTINGS_HEADER[] = "rebrik-nastavenia";
static const int FORMAT_VERSION = 1;

// The words for how a game ended, indexed by ENDING_*.
static const char *const ENDING_WORDS[3] = {"vsetky", "zla", "odchod"};

// Splits text into its lines, ended by LF or CR LF (an editor or git on Windows); *cut is set
// when the last one lacks its line feed.
static std::vector<std::string> lines_of(const std::string &text, bool *cut) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start - (nl > start && text[nl - 1] == '\r')));
    *cut = start < text.size();
    return lines;
}

// Splits a line at its TABs.
static std::vector<std::string> fields_of(const std::string &line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// A whole number from lo to hi written in at most three digits; -1 otherwise.
static int small_number(const std::string &s, int lo, int hi) {
    if (s.empty() || s.size() > 3 || s.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    int n = std::atoi(s.c_str());
    return n >= lo && n <= hi ? n : -1;
}

// The version in a header line "NAME V", 0 when the line is not such a header.
static int header_version(const std::string &line, const char *name) {
    size_t n = std::strlen(name);
    if (line.compare(0, n, name) != 0 || line.size() < n + 2 || line[n] != ' ')
        return 0;
    std::string v = line.substr(n + 1);
    if (v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::atoi(v.c_str());
}

// "YYYY-MM-DD HH:MM:SS" with digits where digits belong.
static bool is_time_text(const std::string &s) {
    static const char SHAPE[] = "dddd-dd-dd dd:dd:dd";
    if (s.size() != sizeof SHAPE - 1)
        return false;
    for (size_t i = 0; i < s.size(); i++)
        if (SHAPE[i] == 'd' ? !std::isdigit((unsigned char)s[i]) : s[i] != SHAPE[i])
            return false;
    return true;
}

// One "hra" line's fields after the word: the time, reached, kept, ending, lifelines.
static bool parse_game(const std::vector<std::string> &f, GameResult *g) {
    if (f.size() != 6 || !is_time_text(f[1]))
        return false;
    g->when = f[1];
    g->reached = small_number(f[2], 0, 15);
    g->kept = small_number(f[3], 0, 15);
    g->lifelines = small_number(f[5], 0, 7);
    g->ending = -1;
    for (int e = 0; e < 3; e++)
        if (f[4] == ENDING_WORDS[e])
            g->ending = e;
    return g->reached >= 0 && g->kept >= 0 && g->kept <= g->reached && g->lifelines >= 0 &&
           g->ending >= 0;
}

// Sixteen lower-case hexadecimal digits.
static bool parse_hash(const std::string &s, uint64_t *hash) {
    if (s.size() != 16 || s.find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;
    *hash = std::strtoull(s.c_str(), nullptr, 16);
    return true;
}

// One line after the header; false when it is none of ours.
static bool parse_results_line(const std::string &line, Results *out) {
    std::vector<std::string> f = fields_of(line);
    GameResult g;
    uint64_t hash;
    if (f[0] == "hra" && parse_game(f, &g))
        out->games.push_back(g);
    else if (f[0] == "otazka" && f.size() == 2 && parse_hash(f[1], &hash))
        out->met.push_back(hash); // sorted once the whole file is read
    else
        return line.empty();
    return true;
}

// The verdict on a file from its header's version and whether every line was understood.
static int verdict(int version, bool all_understood) {
    if (version > FORMAT_VERSION)
        return 2;
    return version == FORMAT_VERSION && all_understood ? 0 : 1;
}

int parse_results(const std::string &text, Results *out) {
    *out = Results();
    bool cut;
    std::vector<std::string> lines = lines_of(text, &cut);
    int version = lines.empty() ? 0 : header_version(lines[0], RESULTS_HEADER);
    if (version == 0)
        return 1;
    bool all = !cut;
    for (size_t i = 1; i < lines.size(); i++)
        all = parse_results_line(lines[i], out) && all;
    std::sort(out->met.begin(), out->met.end());
    out->met.erase(std::unique(out->met.begin(), out->met.end()), out->met.end());
    return verdict(version, all);
}

std::string format_results(const Results &r) {
    std::string text = std::string(RESULTS_HEADER) + " " + std::to_string(FORMAT_VERSION) + "\n";
    char line[96];
    for (const GameResult &g : r.games) {
        std::snprintf(line, sizeof line, "hra\t%s\t%d\t%d\t%s\t%d\n", g.when.c_str(), g.reached,
                      g.kept, ENDING_WORDS[g.ending], g.lifelines);
        text += line;
    }
    for (uint64_t h : r.met) {
        std::snprintf(line, sizeof line, "otazka\t%016llx\n", (unsigned long long)h);
        text += line;
    }
    return text;
}

// The settings' keys in the file, each 0 or 1.
static const struct {
    const char *key;
    int Settings::*field;
} SETTING_KEYS[] = {{"ticho", &Settings::muted},
                    {"cela-obrazovka", &Settings::fullscreen},
                    {"pokojne", &Settings::calm}};

// One "key=value" settings line into *s; false when the key is unknown or the value bad.
static bool parse_setting(const std::string &line, Settings *s) {
    size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    int value = small_number(line.substr(eq + 1), 0, 1);
    for (const auto &k : SETTING_KEYS)
        if (line.compare(0, eq, k.key) == 0 && eq == std::strlen(k.key) && value >= 0) {
            s->*k.field = value;
            return true;
        }
    return false;
}

int parse_settings(const std::string &text, Settings *out) {
    *out = Settings{};
    bool cut;
    std::vector<std::string> lines = lines_of(text, &cut);
    if (cut && !text.empty())
        lines.push_back(text.substr(text.rfind('\n') + 1)); // a hand edit may lack the last LF
    int version = lines.empty() ? 0 : header_version(lines[0], SETTINGS_HEADER);
    if (version == 0)
        return 1;
    for (size_t i = 1; i < lines.size(); i++)
        parse_setting(lines[i], out); // a bad line is skipped, the rest kept
    return verdict(version, true);
}

std::string format_settings(const Settings &s) {
    std::string text = std::string(SETTINGS_HEADER) + " " + std::to_string(FORMAT_VERSION) + "\n";
    for (const auto &k : SETTING_KEYS)
        if (s.*k.field >= 0)
            text += k.key + ("=" + std::to_string(s.*k.field)) + "\n";
    return text;
}

Standings standings_of(const Results &r) {
    Standings s{r.games, (int)r.games.size(), 0, 0.0};
    long sum = 0;
    for (const GameResult &g : r.games) {
        s.won += g.ending == ENDING_WON;
        sum += g.kept;
    }
    if (s.played)
        s.average_row = (double)sum / s.played;
    std::stable_sort(s.best.begin(), s.best.end(), [](const GameResult &a, const GameResult &b) {
        return a.kept != b.kept ? a.kept > b.kept : a.when < b.when;
    });
    if (s.best.size() > 10)
        s.best.resize(10);
    return s;
}

uint64_t question_hash(const char *line1, const char *line2) {
    uint64_t h = 14695981039346656037ull; // 64-bit FNV-1a
    std::string text = std::string(line1) + "\t" + line2;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

void add_met(std::vector<uint64_t> *met, uint64_t hash) {
    auto at = std::lower_bound(met->begin(), met->end(), hash);
    if (at == met->end() || *at != hash)
        met->insert(at, hash);
}

int count_met(const std::vector<uint64_t> &met, const std::vector<uint64_t> &bank) {
    int n = 0;
    for (uint64_t h : bank)
        n += std::binary_search(met.begin(), met.end(), h);
    return n;
}

std::string local_time_text(void) {
    std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return text;
}
