// rebrik-artgen: draws the game's five pictures with the library and writes them into the
// folder named on the command line. Same bytes on every run: nothing random is seeded.
#include "artgen.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>

struct Picture {
    const char *file;
    BITMAP *(*draw)(void);
};

static const Picture PICTURES[] = {
    {"kvmys.bmp", draw_pointer},         {"pozadiep.tga", draw_backdrop},
    {"zolici.bmp", draw_lifeline_sheet}, {"mili.tga", draw_title},
    {"exit.bmp", draw_exit_button},
};

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rebrik-artgen FOLDER\n");
        return 2;
    }
    // No display or timer is needed: memory bitmaps, primitives and the file writers only.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "rebrik-artgen: cannot start the library\n");
        return 1;
    }
    set_color_depth(32);
    for (const Picture &p : PICTURES) {
        BITMAP *b = p.draw();
        if (!b || save_picture(b, argv[1], p.file) != 0) {
            std::fprintf(stderr, "rebrik-artgen: cannot write %s/%s\n", argv[1], p.file);
            return 1;
        }
        destroy_bitmap(b);
    }
    return 0;
}
