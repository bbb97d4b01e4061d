// Reads a headless game off its frames: the banner and final titles are recognised by
// comparing the screen with the box and title drawn the way the game draws them.
#include "harness/game_watch.h"
#include <cstdlib>
#include <filesystem>
#include <allegro.h>
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "questions/questions.h"

GameWatch watch;

namespace fs = std::filesystem;

// A box with one title on it, as the animations draw it at full opacity.
static BITMAP *titled_box(BITMAP *box, const char *title) {
    BITMAP *b = create_bitmap(box->w, box->h);
    blit(box, b, 0, 0, 0, 0, box->w, box->h);
    set_text_background(-1);
    textprintf_centre_ex(b, font, b->w / 2, b->h / 2 - 4, makecol(255, 255, 255), -1, "%s", title);
    set_text_background(makecol(255, 0, 255));
    return b;
}

// Index of the title whose box stands on the screen at (x, y) at full opacity, or -1.
static int title_on_screen(BITMAP *box, int x, int y) {
    // A quick look at one pixel of the box away from the text first.
    if (getpixel(screen, x + 30, y + 25) != getpixel(box, 30, 25))
        return -1;
    for (int t = 0; t < 16; t++) {
        BITMAP *want = titled_box(box, level_titles[t]);
        bool same = true;
        for (int yy = 0; yy < want->h && same; yy++)
            for (int xx = 0; xx < want->w && same; xx++) {
                int p = getpixel(want, xx, yy);
                same = p == MASK_COLOR || p == getpixel(screen, x + xx, y + yy);
            }
        destroy_bitmap(want);
        if (same)
            return t;
    }
    return -1;
}

int marked_row(void) {
    for (int row = 1; row <= 15; row++) {
        int y = ladder_row_y(row) - 2;
        if (getpixel(scene_layer, 560, y) != getpixel(background_image, 560, y))
            return row;
    }
    return 0;
}

// The intro's hint line is the only dark-blue text (0, 64, 128) on any screen.
static bool intro_on_screen(void) {
    int hint = makecol(0, 64, 128);
    for (int x = 223; x <= 470; x++)
        for (int y = 450; y < 458; y++)
            if (getpixel(screen, x, y) == hint)
                return true;
    return false;
}

static bool final_taken; // the final screen now showing was recorded already
static bool intro_taken;
static int last_banner_frame = -10;

static void watch_frame(void) {
    int t = title_on_screen(final_box, 125, 215);
    if (t >= 0 && !final_taken) {
        final_taken = true;
        watch.finals.push_back(level_titles[t]);
        watch.final_marks.push_back(marked_row());
        InputState s = current_input();
        script_hold({s.x, s.y, 1, 0}, 2); // dismiss it
        script_idle(1);
    }
    if (t < 0 && intro_on_screen()) {
        final_taken = false;
        if (!intro_taken) {
            intro_taken = true;
            watch.intros++;
            if (watch.escape_at_intro && watch.intros > 1)
                script_hold({0, 0, 0, 1}, 1000);
        }
    } else {
        intro_taken = false;
    }
    int b = title_on_screen(banner_box, 125, 410);
    if (b >= 0 && frames_shown() - last_banner_frame > 1) {
        watch.banners.push_back(level_titles[b]);
        watch.tier_at_banner.push_back(question_set ? question_set[0].line1[0] : '?');
    }
    if (b >= 0)
        last_banner_frame = frames_shown();
}

void watch_start(void) {
    watch = GameWatch();
    final_taken = false;
    intro_taken = false;
    last_banner_frame = -10;
    per_frame_agent = watch_frame;
}

std::string make_game_folder(const std::vector<std::string> &skip) {
    char name[] = "/tmp/rebrik-game-XXXXXX";
    std::string dir = mkdtemp(name);
    for (const fs::path &from :
         {fs::path(REBRIK_DATA_DIR), fs::path(REBRIK_TEST_DATA_DIR) / "game"})
        for (const auto &entry : fs::directory_iterator(from)) {
            std::string file = entry.path().filename();
            bool wanted = from.filename() == "game" || file.find(".txt") == std::string::npos;
            for (const std::string &s : skip)
                wanted = wanted && s != file;
            if (wanted)
                fs::copy_file(entry.path(), dir + "/" + file, fs::copy_options::overwrite_existing);
        }
    return dir;
}
