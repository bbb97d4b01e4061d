// Headless test harness: the real game on memory bitmaps, input, clock and rand() scripted.
#include "harness/harness.h"
#include <algorithm>
#include <deque>
#include <filesystem>
#include <numeric>
#include <random>
#include <regex>
#include <sstream>
#include <unistd.h>
#include "sound/sound.h"

namespace fs = std::filesystem;
std::function<void(void)> per_frame_agent;
std::vector<Animation> animations;
static std::deque<InputState> script; // one state a frame
static std::deque<int> rand_script;
int frames_shown, rand_taken;
static int held_key;
static unsigned rand_state = 1;

// The scratch folders made so far and where the program started, the process that made them.
static std::vector<std::string> made_folders;
static const fs::path start_folder = fs::current_path();
static const pid_t maker = getpid();
static const char *const start_home = getenv("HOME");

// Games played here keep no results: their folder cannot be made under a file. Through putenv,
// which Windows has too (there "HOME" without a value is refused, and the benchmark needs none).
static void keep_no_results(void) {
    static char data[] = "XDG_DATA_HOME=/dev/null/rebrik-tests",
                config[] = "XDG_CONFIG_HOME=/dev/null/rebrik-tests";
    static std::string home = start_home ? std::string("HOME=") + start_home : "HOME"; // or gone
    for (char *setting : {data, config, home.data()})
        putenv(setting);
}

void remove_scratch_folders(void) {
    if (getpid() != maker) // a death test's child leaves them to its parent
        return;
    fs::current_path(start_folder);
    keep_no_results();
    for (const std::string &dir : made_folders)
        fs::remove_all(dir);
    made_folders.clear();
}

// rand() replaced for this program: scripted numbers first, then a seeded sequence of its own.
extern "C" int rand(void) noexcept {
    rand_taken++;
    if (rand_script.empty())
        return int(((rand_state = rand_state * 1103515245u + 12345u) >> 16) & 0x7fff);
    int n = rand_script.front();
    rand_script.pop_front();
    return n;
}

extern "C" void srand(unsigned seed) noexcept {
    rand_state = seed;
}

void script_rand(const std::vector<int> &numbers) {
    rand_script.assign(numbers.begin(), numbers.end());
}

// Writes the library's input variables, as its drivers would.
static void apply(InputState s) {
    mouse_x = s.x, mouse_y = s.y, mouse_b = s.buttons;
    key[KEY_ESC] = s.escape ? 1 : 0;
    key[held_key] = 0;
    key[held_key = s.key] = s.key != 0;
}

bool digest_frames;
unsigned long long frames_digest;

// Folds the screen's pixels into frames_digest (FNV-1a over 32-bit pixels).
static void digest_screen(void) {
    for (int y = 0; y < screen->h; y++)
        for (const uint32_t *p = (uint32_t *)screen->line[y], *end = p + screen->w; p < end; p++)
            frames_digest = (frames_digest ^ *p) * 1099511628211ull;
}

// One frame reached the screen: a tick passes and the script moves a step; a runaway wait aborts.
static void on_frame_shown(void) {
    tick_count++;
    if (++frames_shown > 50000)
        std::abort();
    if (digest_frames)
        digest_screen();
    apply(script.empty() ? InputState{mouse_x, mouse_y, 0, 0} : script.front());
    if (!script.empty())
        script.pop_front();
    if (per_frame_agent)
        per_frame_agent();
}

long long test_clock;

void headless_init(void) {
    if (screen) // started already
        return;
    pace_clock = [] { return test_clock; };
    pace_wait_until = [](long long due) { test_clock = std::max(test_clock, due); };
    install_allegro(SYSTEM_NONE, &errno, atexit); // no hardware: nothing to fail
    keep_no_results();
    set_color_depth(32);
    screen = create_bitmap(640, 480);
    set_text_background(makecol(255, 0, 255));
}

int headless_load(const char *dir) {
    static BITMAP **const loaded[] = {
        &back_buffer,      &scene_layer,    &text_layer,   &panel_layer, &cursor_image,
        &background_image, &lifeline_sheet, &title_image,  &exit_button, &used_mark,
        &answer_sheet,     &confirm_box,    &question_box, &banner_box,  &final_box};
    headless_init();
    for (BITMAP **b : loaded) // a second load in one process starts clean
        destroy_bitmap(*b), *b = nullptr;
    return chdir(dir) != 0 ? 1 : load_resources();
}

void script_reset(void) {
    script.clear();
    rand_script.clear();
    frames_shown = rand_taken = tick_count = 0;
    frames_digest = 14695981039346656037ull;
    per_frame_agent = nullptr;
    effect_hook = nullptr;
    apply({0, 0, 0, 0});
    test_frame_hook = on_frame_shown;
    install_frame_work();
}

void script_hold(InputState state, int frames) {
    script.insert(script.end(), std::max(frames, 0), state);
}

void script_click(int x, int y) {
    for (int button : {0, 1, 1, 0})
        script_hold({x, y, button, 0}, 1);
}

void script_click_area(int area) {
    static const int fixed[6][2] = {{140, 335}, {350, 335}, {140, 375},
                                    {350, 375}, {210, 182}, {290, 182}};
    if (area >= 0 && area < 6)
        script_click(fixed[area][0], fixed[area][1]);
    else if (area >= AREA_FIFTY && area <= AREA_THIRD)
        script_click(lifeline_icon_x(area - AREA_FIFTY) + lifeline_sheet->w / 2,
                     LIFELINE_Y + lifeline_sheet->h / 8);
    else if (area == AREA_EXIT)
        script_click(EXIT_X + exit_button->w / 2, EXIT_Y + exit_button->h / 2);
    else
        script_click(470, 10); // no area there
}

int script_frames_left(void) {
    return int(script.size());
}

// play_words' per-frame agent: records animations, presses the left button 2 frames in 4.
static void animation_agent(void) {
    static bool animating; // the text mode is transparent only in an animation
    if (_textmode == -1 && !animating) {
        int row = 15;
        while (row && getpixel(scene_layer, 560, ladder_row_y(row) - 2) ==
                          getpixel(background_image, 560, ladder_row_y(row) - 2))
            row--;
        animations.push_back({0, level, row, question_set ? question_set[0].line1[0] : '?'});
    }
    if ((animating = _textmode == -1))
        mouse_b = ++animations.back().frames % 4 < 2;
}

int play_words(const std::string &words) {
    static const std::string LIFELINES[] = {"fifty", "switch", "third", "exit"};
    std::istringstream in(std::regex_replace(words, std::regex("#.*"), "")); // notes dropped
    int ended = 0;
    per_frame_agent = animation_agent;
    for (std::string word; in >> word;) {
        int lifeline = std::find(LIFELINES, LIFELINES + 4, word) - LIFELINES;
        if (word == "esc")
            return key[KEY_ESC] = 1, ended;
        if (word == "go")
            script_click(470, 10), new_game();
        if (word == "right" || word == "wrong")
            script_click_area((correct_slot + (word == "wrong")) % 4), script_click_area(AREA_ANO);
        if (lifeline < 4)
            script_click_area(AREA_FIFTY + lifeline);
        ended += word != "go" && word != "end" ? play_turn() : 0;
    }
    return ended;
}

// A folder no other test has, made in one step so two runs cannot both take it; without mkdtemp,
// which Windows lacks, so the benchmark builds there too.
std::string scratch_folder(const char *what) {
    [[maybe_unused]] static const int at_exit = std::atexit(remove_scratch_folders);
    static std::random_device seed;
    fs::path name;
    std::error_code failed;
    do
        name = fs::temp_directory_path() /
               ("rebrik-" + std::string(what) + "-" + std::to_string(seed()));
    while (!fs::create_directory(name, failed) && !failed);
    made_folders.push_back(failed ? "" : name.string());
    return made_folders.back();
}

std::string game_folder(void) {
    std::string dir = scratch_folder("game");
    fs::copy(REBRIK_DATA_DIR, dir); // then the test banks over the game's
    fs::copy(fs::path(REBRIK_TEST_DATA_DIR) / "game", dir,
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    return dir;
}

std::string write_test_images(const TestImageSizes &s) {
    const char *names[] = {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga", "exit.bmp"};
    const int w[5] = {6, s.background_w, s.sheet_w, s.title_w, 60},
              h[5] = {6, s.background_h, s.sheet_h, s.title_h, 30};
    const int colours[5] = {0xFFFF00, 0, MASK_COLOR, 0x5A1E78, 0xDC7828}; // 0xRRGGBB
    headless_init();
    std::string dir = scratch_folder("images");
    for (int i = 0; i < 5; i++) {
        BITMAP *b = create_bitmap(w[i], h[i]);
        clear_to_color(b, colours[i]);
        for (int p = 0; i == 1 && p < w[i] * h[i]; p++) // green 20 or more: never magenta
            putpixel(b, p % w[i], p / w[i], rgb(p % 256, 20 + p / 640 % 200, p / 3 % 256));
        for (int row = 0, q = h[i] / 4; i == 2 && row < 4; row++) // red, green, blue, half white
            rectfill(b, 0, row * q, row == 3 ? w[i] / 2 - 1 : w[i] - 1, (row + 1) * q - 1,
                     row == 3 ? 0xFFFFFF : 0xC80000 >> 8 * row);
        save_bitmap((dir + "/" + names[i]).c_str(), b, NULL);
        destroy_bitmap(b);
    }
    return dir;
}

int load_test_images(const TestImageSizes &sizes) {
    return headless_load(write_test_images(sizes).c_str());
}

int count_differences(BITMAP *a, BITMAP *b) {
    const uint32_t *p = (uint32_t *)a->dat, *q = (uint32_t *)b->dat; // rows one after another
    return std::inner_product(p, p + a->w * a->h, q, 0, std::plus<>(), std::not_equal_to<>());
}
