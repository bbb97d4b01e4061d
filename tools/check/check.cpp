// rebrik-check: reads question files with the game's own loader and reports, compiler-style,
// what the game would refuse (errors) and what would play or show badly (warnings), each file
// alone and then all of them together as the game's tiers.
#include <cstdio>
#include <cstring>
#include "questions/questions.h"

static const char HELP[] =
    "Pouzitie: rebrik-check [--werror] SUBOR...\n"
    "Skontroluje subory s otazkami (lahke.txt, stredne.txt, tazke.txt) tak, ako ich nacita hra.\n"
    "\n"
    "Format: prvy riadok je pocet otazok N (aspon 6), potom N blokov po piatich riadkoch:\n"
    "  otazka (TAB ju deli na dva riadky, kazdy najviac 54 bajtov a 51 znakov)\n"
    "  spravna odpoved, potom tri nespravne (kazda najviac 24 bajtov)\n"
    "Text za cislom v prvom riadku a bloky za N-tym hra necita; prazdny riadok su data.\n"
    "Text je v UTF-8; konce riadkov LF alebo CR LF; bajt 26 (Ctrl-Z) subor ukoncuje.\n"
    "\n"
    "Viac suborov skontroluje aj spolu ako urovne hry a varuje, ak je otazka dvakrat,\n"
    "ak maju dve otazky rovnake odpovede (v hocijakom poradi), ak text otazky prezradza\n"
    "spravnu odpoved inej (rok, meno z dvoch slov alebo odpoved aspon zo 6 znakov, aj\n"
    "v inom pade, bez ohladu na velke pismena a diakritiku), a ak sa spravna odpoved\n"
    "jedina lisi tvarom (skratka s inicialou, cislo, o viac ako polovicu dlhsia).\n"
    "\n"
    "Vypis: SUBOR:RIADOK: error: ... (hra subor odmietne) alebo warning: ...\n"
    "Navratova hodnota je 1, ak by hra odmietla niektory subor (s --werror aj pri varovani).\n";

static const char *current_file;
static int warnings;

static void print_warning_in(const char *file, int line, const char *text) {
    std::printf("%s:%d: warning: %s\n", file, line, text);
    warnings++;
}

static void print_warning(int line, const char *text) {
    print_warning_in(current_file, line, text);
}

// Checks one file; 1 when the game would refuse it.
static int check_file(const char *path) {
    current_file = path;
    if (load_question_file(path) == 0) {
        review_question_set(print_warning);
        add_to_bank_review(path);
        return 0;
    }
    if (load_refusal == LOAD_NOT_OPENED)
        std::printf("%s: error: %s\n", path, refusal_text(load_refusal));
    else
        std::printf("%s:%d: error: %s\n", path, load_refusal_line, refusal_text(load_refusal));
    return 1;
}

int main(int argc, char *argv[]) {
    bool werror = false;
    int files = 0, refused = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(HELP, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--werror") == 0) {
            werror = true;
            continue;
        }
        files++;
        refused += check_file(argv[i]);
    }
    if (files == 0) {
        std::fputs(HELP, stderr);
        return 2;
    }
    review_bank(print_warning_in);
    return refused > 0 || (werror && warnings > 0) ? 1 : 0;
}
