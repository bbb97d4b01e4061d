// rebrik-artgen: draws the game's five pictures with the library and writes them into the
// folder named on the command line; with --setup, the setup program's two pictures instead.
// Same bytes on every run: nothing random is seeded.
#include "artgen.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

struct Picture {
    const char *file;
    BITMAP *(*draw)(void);
};

static const Picture PICTURES[] = {
    {"kvmys.bmp", draw_pointer},         {"pozadiep.tga", draw_backdrop},
    {"zolici.bmp", draw_lifeline_sheet}, {"mili.tga", draw_title},
    {"exit.bmp", draw_exit_button},
};

static const Picture SETUP_PICTURES[] = {
    {"setup-side.bmp", draw_setup_side},
    {"setup-header.bmp", draw_setup_header},
};

int main(int argc, char **argv) {
    bool setup = argc == 3 && !std::strcmp(argv[1], "--setup");
    if (argc != 2 && !setup) {
        std::fprintf(stderr, "usage: rebrik-artgen [--setup] FOLDER\n");
        return 2;
    }
    const char *folder = argv[argc - 1];
    // No display or timer is needed: memory bitmaps, primitives and the file writers only.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "rebrik-artgen: cannot start the library\n");
        return 1;
    }
    set_color_depth(32);
    const Picture *list = setup ? SETUP_PICTURES : PICTURES;
    size_t count = setup ? std::size(SETUP_PICTURES) : std::size(PICTURES);
    for (const Picture *p = list; p < list + count; p++) {
        BITMAP *b = p->draw();
        if (!b || save_picture(b, folder, p->file) != 0) {
            std::fprintf(stderr, "rebrik-artgen: cannot write %s/%s\n", folder, p->file);
            return 1;
        }
        destroy_bitmap(b);
    }
    return 0;
}
