// rebrik-check: reads question files with the game's own loader and reports, compiler-style and
// in line order, everything the game would refuse (errors) and what would play or show badly
// (warnings), each file alone and then all of them together as the game's tiers.
#include <sys/stat.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "questions/questions.h"

static const char HELP[] =
    "Pouzitie: rebrik-check [--werror] SUBOR|PRIECINOK...\n"
    "Skontroluje subory s otazkami (lahke.txt, stredne.txt, tazke.txt) tak, ako ich nacita hra;\n"
    "z priecinka tieto tri. Vypise vsetky chyby, nielen prvu, po riadkoch.\n"
    "\n"
    "Format: prvy riadok je pocet otazok N (aspon 6), potom N blokov po piatich riadkoch:\n"
    "  otazka (TAB ju deli na dva riadky, kazdy najviac 54 bajtov a 51 znakov)\n"
    "  spravna odpoved, potom tri nespravne (kazda najviac 24 bajtov a 19 znakov)\n"
    "Pismeno s diakritikou zaberie dva bajty. Text za cislom v prvom riadku a bloky za N-tym\n"
    "hra necita; prazdny riadok su data. Text je v UTF-8 (znacku BOM na zaciatku hra preskoci);\n"
    "konce riadkov LF alebo CR LF; bajt 26 (Ctrl-Z) subor ukoncuje.\n"
    "\n"
    "Varuje aj pri bloku posunutom o chybajuci alebo nadbytocny riadok (odpoved s otaznikom),\n"
    "pri subore v kodovani Windows-1250, pri odpovedi, ktora chyba na konci suboru, a pri\n"
    "znaku, ktory hra nevie nakreslit (ukaze namiesto neho ^).\n"
    "Viac suborov skontroluje aj spolu ako urovne hry a varuje, ak je otazka dvakrat,\n"
    "ak maju dve otazky rovnake odpovede (v hocijakom poradi), ak text otazky prezradza\n"
    "spravnu odpoved inej (rok, meno z dvoch slov alebo odpoved aspon zo 6 znakov, aj\n"
    "v inom pade, bez ohladu na velke pismena a diakritiku; kratsiu odpoved a priezvisko\n"
    "v otazke na tu istu temu), ak sa dve otazky s tou istou spravnou odpovedou pytaju\n"
    "takmer tymi istymi slovami, a ak sa spravna odpoved jedina lisi tvarom (skratka\n"
    "s inicialou, cislo, o viac ako polovicu dlhsia).\n"
    "\n"
    "Vypis: SUBOR:RIADOK: error: ... (hra subor odmietne) alebo warning: ...\n"
    "Navratova hodnota je 1, ak by hra odmietla niektory subor (s --werror aj pri varovani).\n";

// A finding of the file at index file (in the order checked); line 0 for the file as a whole.
struct Finding {
    int file, line;
    bool error;
    std::string text;
};
static std::vector<Finding> findings;
static std::vector<std::string> files;

static void note(int line, const char *text, int error) {
    findings.push_back({int(files.size()) - 1, line, error != 0, text});
}

// A warning of a review; none on a line with an error, whose text was cut at its limit.
static void note_warning_in(int file, int line, const char *text) {
    for (const Finding &f : findings)
        if (f.file == file && f.error && f.line == line)
            return;
    findings.push_back({file, line, false, text});
}

static void note_warning(int line, const char *text) {
    note_warning_in(int(files.size()) - 1, line, text);
}

// A warning of the review across files, on the first file checked under that name.
static void note_across(const char *file, int line, const char *text) {
    note_warning_in(int(std::find(files.begin(), files.end(), file) - files.begin()), line, text);
}

// Checks one file: every error, then the reviews of what could be read, alone and (after all
// files) with the others. 1 when the game would refuse it.
static int check_file(const std::string &path) {
    files.push_back(path);
    int refused = check_question_file(path.c_str(), note);
    if (question_set) {
        review_question_set(note_warning);
        add_to_bank_review(path.c_str());
    }
    return refused;
}

// Checks a folder's three tier files in the game's order; a file checks itself.
static int check_argument(const char *arg) {
    struct stat info;
    if (stat(arg, &info) != 0 || !S_ISDIR(info.st_mode))
        return check_file(arg);
    int refused = 0;
    for (int level : {1, 6, 11}) {
        char path[QUESTION_PATH_SIZE];
        if (tier_path(path, sizeof path, arg, level)) {
            std::fprintf(stderr, "rebrik-check: priecinok %s ma pridlhu cestu\n", arg);
            return 1;
        }
        refused += check_file(path);
    }
    return refused > 0;
}

// Prints the findings file by file in line order, compiler-style; returns how many are warnings.
static int print_findings(void) {
    std::stable_sort(findings.begin(), findings.end(), [](const Finding &a, const Finding &b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    int warnings = 0;
    for (const Finding &f : findings) {
        std::printf("%s", files[size_t(f.file)].c_str());
        if (f.line > 0)
            std::printf(":%d", f.line);
        std::printf(": %s: %s\n", f.error ? "error" : "warning", f.text.c_str());
        warnings += !f.error;
    }
    return warnings;
}

int main(int argc, char *argv[]) {
    bool werror = false;
    int given = 0, refused = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(HELP, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--werror") == 0) {
            werror = true;
            continue;
        }
        given++;
        refused += check_argument(argv[i]);
    }
    if (given == 0) {
        std::fputs(HELP, stderr);
        return 2;
    }
    review_bank(note_across);
    int warnings = print_findings();
    return refused > 0 || (werror && warnings > 0) ? 1 : 0;
}
