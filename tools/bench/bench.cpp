// rebrik-bench: times the drawing steps a player waits for, headless on memory bitmaps, and
// prints each as a median and as a multiple of one plain memcpy of a 640x480x4 frame.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <time.h>
#include <vector>
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "questions/questions.h"

static std::string data_dir;
static BITMAP *work; // destination of the two full-layer blends
static std::vector<uint32_t> frame_a, frame_b;

// Keeps the compiler from dropping a copy whose result nobody reads.
static void keep(void *p) {
    asm volatile("" : : "r"(p) : "memory");
}

static void copy_frame(void) {
    std::memcpy(frame_b.data(), frame_a.data(), frame_a.size() * sizeof(uint32_t));
    keep(frame_b.data());
}

// The blend rule one pixel at a time through the library's pixel calls, as it is defined:
// the product rounded to single precision, the sum exact, truncated toward zero.
static void reference_blend(BITMAP *src, BITMAP *dst, int sx, int sy, int dx, int dy, int w, int h,
                            float alpha) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int s = getpixel(src, sx + x, sy + y);
            if (s == MASK_COLOR)
                continue;
            int d = getpixel(dst, dx + x, dy + y);
            int sc[3] = {getr(s), getg(s), getb(s)}, dc[3] = {getr(d), getg(d), getb(d)}, c[3];
            for (int i = 0; i < 3; i++)
                c[i] = (int)((double)dc[i] + (double)((float)(sc[i] - dc[i]) * alpha));
            putpixel(dst, dx + x, dy + y, makecol(c[0], c[1], c[2]));
        }
}

// The board of a question in play: level 7, answer B selected, fifty-fifty spent, two lines.
static void set_board(void) {
    level = 7;
    lifelines_used = LIFELINE_FIFTY;
    for (int slot = 0; slot < 4; slot++)
        answer_state[slot] = slot == 1;
    question_lines = 2;
    std::snprintf(shown_question.line1, sizeof shown_question.line1, "%s",
                  "Ktora rieka preteka cez Bratislavu a cez Viedne");
    std::snprintf(shown_question.line2, sizeof shown_question.line2, "%s",
                  "aj cez Budapest, az do Cierneho mora?");
    const char *answers[4] = {"Dunaj", "Morava", "Vah", "Hron a jeho pritoky pri Banskej"};
    for (int slot = 0; slot < 4; slot++)
        std::snprintf(shown_question.answer_text[slot], sizeof shown_question.answer_text[slot],
                      "%s", answers[slot]);
}

// The blends start from the real panel layer of a question screen over the background.
static void prepare_blend(void) {
    draw_panel_layer(0);
    blit(background_image, work, 0, 0, 0, 0, FRAME_W, FRAME_H);
}

static void run_reference(void) {
    reference_blend(panel_layer, work, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
}
static void run_blend(void) {
    blend_translucent(panel_layer, work, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
}
// A level banner frame at half opacity over the board, where show_level_banner lays it.
static void prepare_banner_blend(void) {
    blit(background_image, work, 0, 0, 0, 0, FRAME_W, FRAME_H);
}
static void run_banner_blend(void) {
    blend_translucent(banner_box, work, 0, 0, (PLAY_W - banner_box->w) / 2, 410, banner_box->w,
                      banner_box->h, 0.5f);
}
static void run_library_blit(void) {
    blit(scene_layer, back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
}
static void run_library_sprite(void) {
    draw_sprite(back_buffer, text_layer, 0, 0);
}
// What present_frame does in its place: the scene and the text layer over it, in one pass.
static void run_masked_copy(void) {
    masked_copy(scene_layer, text_layer, back_buffer);
}
static void run_library_clear(void) {
    clear_to_color(panel_layer, MASK_COLOR);
}
static void run_panel_0(void) {
    draw_panel_layer(0);
}
static void run_panel_1(void) {
    draw_panel_layer(PANEL_CONFIRM);
}
static void run_panel_2(void) {
    draw_panel_layer(PANEL_NO_QUESTION);
}
static void run_text_1(void) {
    draw_text_layer(TEXT_QUESTION);
}
static void run_text_3(void) {
    draw_text_layer(TEXT_QUESTION | TEXT_PROMPT);
}
static void prepare_frame(void) {
    draw_panel_layer(0);
    draw_text_layer(TEXT_QUESTION);
}
// What a click on an answer costs before the player sees it.
static void run_response(void) {
    draw_panel_layer(PANEL_CONFIRM);
    draw_text_layer(TEXT_QUESTION | TEXT_PROMPT);
    present_frame();
}
static void run_banner(void) {
    show_level_banner();
}
static void run_load(void) {
    if (headless_load(data_dir.c_str()) != 0) {
        std::fprintf(stderr, "rebrik-bench: cannot load the pictures from %s\n", data_dir.c_str());
        std::exit(1);
    }
}

struct Step {
    const char *name;
    void (*setup)(void); // untimed, before every timed call; may be null
    void (*run)(void);
    int per_round; // timed calls per round
    int divide;    // the call covers this many units of the step (banner: 200 frames)
    std::vector<double> cpu, wall; // microseconds per unit
};

enum { FLOOR, REFERENCE, BLEND, RESPONSE, BANNER_FRAME };
static Step steps[] = {
    {"memcpy of one 640x480x4 frame (floor)", nullptr, copy_frame, 20, 1, {}, {}},
    {"reference blend, getpixel/putpixel", prepare_blend, run_reference, 1, 1, {}, {}},
    {"blend_translucent, panel layer 640x480", prepare_blend, run_blend, 20, 1, {}, {}},
    {"one response: panel(1) + text(3) + present", nullptr, run_response, 10, 1, {}, {}},
    {"blend_translucent, banner 250x50", prepare_banner_blend, run_banner_blend, 20, 1, {}, {}},
    {"one level banner frame (total / 200)", set_board, run_banner, 1, 200, {}, {}},
    {"draw_panel_layer(0)", nullptr, run_panel_0, 10, 1, {}, {}},
    {"draw_panel_layer(1)", nullptr, run_panel_1, 10, 1, {}, {}},
    {"draw_panel_layer(2)", nullptr, run_panel_2, 10, 1, {}, {}},
    {"draw_text_layer(1)", nullptr, run_text_1, 10, 1, {}, {}},
    {"draw_text_layer(3)", nullptr, run_text_3, 10, 1, {}, {}},
    {"present_frame onto a memory screen", prepare_frame, present_frame, 20, 1, {}, {}},
    {"library blit, 640x480", nullptr, run_library_blit, 20, 1, {}, {}},
    {"library draw_sprite, text layer 640x480", prepare_frame, run_library_sprite, 20, 1, {}, {}},
    {"masked_copy, scene + text layer 640x480", prepare_frame, run_masked_copy, 20, 1, {}, {}},
    {"library clear_to_color, 640x480", nullptr, run_library_clear, 20, 1, {}, {}},
    {"load_resources (bundled pictures)", nullptr, run_load, 1, 1, {}, {}},
};

static double clock_us(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// Each call is timed twice: by the processor time this thread used, which other programs on a
// busy machine do not inflate, and by the wall clock.
static void time_step(Step &s) {
    for (int i = 0; i < s.per_round; i++) {
        if (s.setup)
            s.setup();
        // The wall clock read inside the processor clock's: under Wine a read of the latter
        // asks the server and costs tens of microseconds.
        double cpu0 = clock_us(CLOCK_THREAD_CPUTIME_ID), wall0 = clock_us(CLOCK_MONOTONIC);
        s.run();
        double wall1 = clock_us(CLOCK_MONOTONIC), cpu1 = clock_us(CLOCK_THREAD_CPUTIME_ID);
        s.cpu.push_back((cpu1 - cpu0) / s.divide);
        s.wall.push_back((wall1 - wall0) / s.divide);
    }
}

// Windows counts a thread's processor time in ticks of its scheduler (10 to 16 ms, under Wine
// too): too coarse for steps of microseconds, so there the ratios come from the wall clock.
static bool cpu_clock_is_fine(void) {
    double start = clock_us(CLOCK_THREAD_CPUTIME_ID), now;
    while ((now = clock_us(CLOCK_THREAD_CPUTIME_ID)) == start) {
    }
    return now - start < 100;
}

static double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Lays src over a copy of the background with both blends and counts the rows that differ.
static int rows_differing(BITMAP *src, int dx, int dy, float alpha) {
    BITMAP *fast = create_bitmap(FRAME_W, FRAME_H), *slow = create_bitmap(FRAME_W, FRAME_H);
    blit(background_image, fast, 0, 0, 0, 0, FRAME_W, FRAME_H);
    blit(background_image, slow, 0, 0, 0, 0, FRAME_W, FRAME_H);
    blend_translucent(src, fast, 0, 0, dx, dy, src->w, src->h, alpha);
    reference_blend(src, slow, 0, 0, dx, dy, src->w, src->h, alpha);
    int rows = 0;
    for (int y = 0; y < FRAME_H; y++)
        rows += std::memcmp(fast->line[y], slow->line[y], FRAME_W * 4) != 0;
    destroy_bitmap(fast);
    destroy_bitmap(slow);
    return rows;
}

// The fast blend must give the rule's pixels, or its time means nothing: on the real panel
// layer, and on the level banner's box (250 wide, so rows end in part of a group of four) at
// every opacity of its fade.
static int blend_disagrees(void) {
    draw_panel_layer(0);
    int rows = rows_differing(panel_layer, 0, 0, 0.75f);
    for (int i = 0; i <= 100; i++)
        rows += rows_differing(banner_box, (PLAY_W - banner_box->w) / 2, 410, (float)(i / 100.0));
    return rows;
}

static void verdict(const char *what, double value, const char *sign, double limit, bool met) {
    std::printf("- %s: %.1fx (target %s %.0fx): %s\n", what, value, sign, limit,
                met ? "met" : "MISSED");
}

// The samples the ratios come from: processor time where its clock is fine enough.
static bool by_cpu;
static const std::vector<double> &samples(const Step &s) {
    return by_cpu ? s.cpu : s.wall;
}

static void print_table(int rounds) {
    double floor_us = median(samples(steps[FLOOR]));
    std::printf(
        "| Step | CPU median | x floor | Wall median | Calls |\n|---|---:|---:|---:|---:|\n");
    for (Step &s : steps) {
        double m = median(samples(s));
        std::printf("| %s | %.1f us | %.1f | %.1f us | %zu |\n", s.name, median(s.cpu),
                    m / floor_us, median(s.wall), s.cpu.size());
    }
    double blend = median(samples(steps[BLEND])), reference = median(samples(steps[REFERENCE]));
    double response = median(samples(steps[RESPONSE]));
    std::printf("\n%d rounds; each call timed alone; ratios from the %s medians.\n", rounds,
                by_cpu ? "CPU" : "wall");
    if (FILE *f = std::fopen("/proc/loadavg", "r")) {
        double one, five;
        if (std::fscanf(f, "%lf %lf", &one, &five) == 2)
            std::printf("Load average while measuring: %.2f (1 min), %.2f (5 min).\n", one, five);
        std::fclose(f);
    }
    verdict("full-layer blend / floor", blend / floor_us, "<=", 10, blend <= 10 * floor_us);
    verdict("reference / full-layer blend", reference / blend, ">=", 20, reference >= 20 * blend);
    verdict("one response / floor", response / floor_us, "<=", 8, response <= 8 * floor_us);
}

int main(int argc, char *argv[]) {
    bool quick = false;
    data_dir = REBRIK_DATA_DIR;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else if (argv[i][0] == '-') {
            std::fprintf(stderr, "usage: rebrik-bench [--quick] [DATA_FOLDER]\n");
            return 2;
        } else
            data_dir = argv[i];
    }
    // headless_load changes into the folder, so later loads need its absolute path.
    data_dir = std::filesystem::absolute(data_dir).string();
    run_load();
    frame_a.assign(FRAME_W * FRAME_H, 0x203040);
    frame_b.assign(FRAME_W * FRAME_H, 0);
    work = create_bitmap(FRAME_W, FRAME_H);
    set_board();
    if (int rows = blend_disagrees()) {
        std::fprintf(stderr, "rebrik-bench: blend_translucent breaks the rule on %d rows\n", rows);
        return 1;
    }
    // Rounds interleave the steps, so a burst of load from elsewhere falls on all of them
    // alike and the ratios stay fair.
    int rounds = quick ? 2 : 15;
    by_cpu = cpu_clock_is_fine();
    for (int r = 0; r < rounds; r++)
        for (Step &s : steps) {
            set_board();
            time_step(s);
        }
    print_table(rounds);
    return 0;
}
END_OF_MAIN()
