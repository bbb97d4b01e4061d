// The command line: the options it gives, what it says for --help and --version, and what it
// says when it is wrong.
#include "app/command_line.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "gfx/gfx.h"
#include "questions/questions.h"

Options options;

static const char USAGE[] =
    "Použitie: rebrik [VOĽBY]\n"
    "Usage: rebrik [OPTIONS] - a Slovak quiz game, played with the mouse or the keys below.\n"
    "\n"
    "Voľby:\n"
    "  --scale N      okno N-krát väčšie (N od 1 do 41, najviac čo sa zmestí);\n"
    "                 bez nej najväčšie, aké sa zmestí\n"
    "  --fullscreen   celá obrazovka, obraz zväčšený a v strede\n"
    "  --ticho        začať bez zvuku (zapamätá sa; M ho zas zapne)\n"
    "  --pokojne      pokojné čakanie: menej práce pre procesor, dlhšia batéria\n"
    "                 (zapamätá sa; --pokojne=0 ho vypne)\n"
    "  --otazky PRIEČINOK  otázky z lahke.txt, stredne.txt a tazke.txt v ňom;\n"
    "                 ich výsledky majú vlastnú sieň slávy\n"
    "  --vysledky     vypíše sieň slávy (s --otazky tú ich) a skončí\n"
    "  --version      vypíše verziu\n"
    "  -h, --help     vypíše túto pomoc\n"
    "\n"
    "Vlastné otázky, napríklad pre triedu: v novom priečinku (mkdir kviz) napíšte\n"
    "lahke.txt, stredne.txt a tazke.txt (formát: rebrik-check --help), potom\n"
    "  rebrik-check --werror kviz && rebrik --otazky kviz\n"
    "\n"
    "Klávesy:\n"
    "  A, B, C, D     odpoveď\n"
    "  Enter          ANO (potvrdí odpoveď)\n"
    "  N, Backspace   NIE (odpoveď späť)\n"
    "  1, 2, 3        pomôcky: 50:50, výmena otázky, žiarovka\n"
    "  K              KONIEC (odísť s dosiahnutým titulom)\n"
    "  Medzerník, Enter  ďalej z úvodu a zo záverečnej obrazovky\n"
    "  M              zvuk vypnúť (okno sa volá \"Rebrik - ticho\") a zapnúť\n"
    "  H              sieň slávy (na úvode a na záverečnej obrazovke)\n"
    "  F11, Alt+Enter okno alebo celá obrazovka (zapamätá sa)\n"
    "  Esc (podržať)  koniec hry na úvode a keď hra čaká na odpoveď\n"
    "                 (nie pri \"Si si isty?\" ani na záverečnej obrazovke)\n"
    "  Zatvorenie okna  koniec hry kedykoľvek\n";

// The factor after --scale: a whole number from 1 to MAX_SCALE written in digits only; 0 if bad.
static int scale_value(const char *text) {
    if (!text || !*text || std::strspn(text, "0123456789") != std::strlen(text) ||
        std::strlen(text) > 3)
        return 0;
    int n = std::atoi(text);
    return n >= 1 && n <= MAX_SCALE ? n : 0;
}

// Names what was wrong (format takes the text, then MAX_SCALE) and where help is; status 2.
static int bad_command_line(const char *format, const char *text) {
    std::fputs("rebrik: ", stderr);
    std::fprintf(stderr, format, text, MAX_SCALE);
    std::fputs("\nPomoc: rebrik --help\n", stderr);
    return 2;
}

// The value of the option name given as "NAME VALUE" or "NAME=VALUE" ("" when missing), or null
// when argv[*i] is not that option.
static const char *option_value(const char *name, int argc, char *argv[], int *i) {
    const char *arg = argv[*i];
    size_t n = std::strlen(name);
    if (!std::strncmp(arg, name, n) && arg[n] == '=')
        return arg + n + 1;
    if (std::strcmp(arg, name))
        return nullptr;
    return *i + 1 < argc ? argv[++*i] : "";
}

int parse_command_line(int argc, char *argv[]) {
    options = {};
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i], *value;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (!std::strcmp(arg, "--version")) {
            std::printf("rebrik %s\n", REBRIK_VERSION);
            return 0;
        }
        if (!std::strcmp(arg, "--fullscreen"))
            options.fullscreen = 1;
        else if (!std::strcmp(arg, "--ticho"))
            options.start_muted = 1;
        else if (!std::strcmp(arg, "--vysledky"))
            options.results = 1;
        else if (!std::strcmp(arg, "--pokojne") || !std::strcmp(arg, "--pokojne=1"))
            options.calm = 1;
        else if (!std::strcmp(arg, "--pokojne=0"))
            options.calm = 0;
        else if ((value = option_value("--otazky", argc, argv, &i))) {
            if (!value[0] || set_question_folder(value))
                return bad_command_line(*value ? "priečinok --otazky %s je príliš dlhý"
                                               : "voľbe --otazky chýba priečinok%s",
                                        value);
        } else if (!(value = option_value("--scale", argc, argv, &i)))
            return bad_command_line("neznáma voľba %s", arg);
        else if (!(options.scale = scale_value(value)))
            return bad_command_line(*value ? "zlá hodnota --scale %s (celé číslo od 1 do %d)"
                                           : "voľbe --scale chýba hodnota%s (od 1 do %d)",
                                    value);
    }
    return -1;
}
