// The command line: what it asked for, and reading it.
#pragma once

// What the command line asked for. scale 0 picks the largest factor that fits the desktop.
struct Options {
    int scale;
    int fullscreen;
    int start_muted; // --ticho: start muted, and remember it
    int results;     // --vysledky: print the hall of fame and exit
    int calm = -1;   // --pokojne (1) or --pokojne=0 (0), remembered; -1 when not given
};
extern Options options;

// Reads the command line into options, afresh. -1 to go on and play; otherwise the exit status
// after --help or --version (0) or a bad command line (2), with the text already printed.
int parse_command_line(int argc, char *argv[]);
