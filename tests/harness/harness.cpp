// Headless test harness: the real game and drawing code on memory bitmaps, with the mouse, keys,
// the clock and rand() moved one scripted step per frame that reaches the screen.
#include "harness/harness.h"
#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
std::function<void(void)> per_frame_agent;
std::vector<Animation> animations;
static std::deque<std::pair<InputState, int>> script; // a state and the frames it is held
static std::deque<int> rand_script;
static int shown, rand_count, held_key;
static unsigned rand_state = 1;

// rand() replaced for this program: scripted numbers first, then a seeded sequence of its own.
extern "C" int rand(void) noexcept {
    rand_count++;
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

int rand_taken(void) {
    return rand_count;
}

// Writes the library's input variables, as its drivers would.
static void apply(InputState s) {
    mouse_x = s.x, mouse_y = s.y, mouse_b = s.buttons;
    key[KEY_ESC] = s.escape ? 1 : 0;
    key[held_key] = 0;
    key[held_key = s.key] = s.key != 0;
}

// One frame reached the screen: a tick passes and the script moves a step; a runaway wait aborts.
static void on_frame_shown(void) {
    tick_count++;
    if (++shown > 50000)
        std::abort();
    apply(script.empty() ? InputState{mouse_x, mouse_y, 0, 0} : script.front().first);
    if (!script.empty() && --script.front().second <= 0)
        script.pop_front();
    if (per_frame_agent)
        per_frame_agent();
}

void headless_init(void) {
    static bool started;
    if (started)
        return;
    started = true;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        std::abort();
    set_color_depth(32);
    screen = create_bitmap(640, 480);
    set_text_background(makecol(255, 0, 255));
}

int headless_load(const char *dir) {
    static BITMAP **const loaded[] = {
        &back_buffer,      &scene_layer,    &text_layer,   &panel_layer, &cursor_image,
        &background_image, &lifeline_sheet, &title_image,  &exit_button, &used_mark,
        &answer_sheet,     &confirm_box,    &question_box, &banner_box,  &final_box,
    };
    headless_init();
    for (BITMAP **b : loaded) // a second load in one process starts clean
        destroy_bitmap(*b), *b = nullptr;
    return chdir(dir) != 0 ? 1 : load_resources();
}

void script_reset(void) {
    script.clear();
    rand_script.clear();
    shown = rand_count = tick_count = 0;
    per_frame_agent = nullptr;
    apply({0, 0, 0, 0});
    frame_shown_hook = on_frame_shown;
}

void script_hold(InputState state, int frames) {
    if (frames > 0)
        script.push_back({state, frames});
}

void script_click(int x, int y) {
    script_hold({x, y, 0, 0}, 1);
    script_hold({x, y, 1, 0}, 2);
    script_hold({x, y, 0, 0}, 1);
}

// The middle of each click area; the lifeline icons and exit button from their pictures.
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
    int n = 0;
    for (const auto &s : script)
        n += s.second;
    return n;
}

int frames_shown(void) {
    return shown;
}

// Records each animation (the text mode is transparent only then) with the ladder row marked
// on the scene layer, and presses the left button on two frames of every four while one runs.
void animation_agent(void) {
    static bool animating;
    bool now_animating = _textmode == -1;
    if (now_animating && !animating) {
        int row = 15;
        while (row && getpixel(scene_layer, 560, ladder_row_y(row) - 2) ==
                          getpixel(background_image, 560, ladder_row_y(row) - 2))
            row--;
        animations.push_back({0, level, row, question_set ? question_set[0].line1[0] : '?'});
    }
    if (now_animating)
        mouse_b = ++animations.back().frames % 4 < 2;
    animating = now_animating;
}

int play_words(const std::string &words) {
    static const char *const NAMES[] = {"fifty", "switch", "third", "exit"};
    std::istringstream lines(words);
    std::string line, word;
    int ended = 0;
    per_frame_agent = animation_agent;
    while (std::getline(lines, line)) {
        std::istringstream in(line.substr(0, line.find('#')));
        while (in >> word) {
            if (word == "esc")
                return key[KEY_ESC] = 1, ended;
            if (word == "go")
                script_click(470, 10), new_game();
            if (word == "right" || word == "wrong") {
                script_click_area((correct_slot + (word == "wrong")) % 4);
                script_click_area(AREA_ANO);
            }
            for (int k = 0; k < 4; k++)
                if (word == NAMES[k])
                    script_click_area(AREA_FIFTY + k);
            if (word != "go" && word != "end")
                ended += play_turn();
        }
    }
    return ended;
}

std::string game_folder(void) {
    char name[] = "/tmp/rebrik-game-XXXXXX";
    std::string dir = mkdtemp(name);
    for (const auto &entry : fs::directory_iterator(REBRIK_DATA_DIR))
        if (entry.path().extension() != ".txt")
            fs::copy_file(entry.path(), dir / entry.path().filename());
    for (const char *tier : {"lahke.txt", "stredne.txt", "tazke.txt"})
        fs::copy_file(fs::path(REBRIK_TEST_DATA_DIR) / "game" / tier, dir + "/" + tier);
    return dir;
}

static BITMAP *solid(int w, int h, int colour) {
    BITMAP *b = create_bitmap_ex(32, w, h);
    clear_to_color(b, colour);
    return b;
}

std::string write_test_images(const TestImageSizes &s) {
    static const char *const NAMES[] = {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga",
                                        "exit.bmp"};
    headless_init();
    char name[] = "/tmp/rebrik-images-XXXXXX";
    std::string dir = mkdtemp(name);
    BITMAP *back = solid(s.background_w, s.background_h, 0),
           *sheet = solid(s.sheet_w, s.sheet_h, MASK_COLOR);
    for (int y = 0; y < s.background_h; y++)
        for (int x = 0; x < s.background_w; x++)
            putpixel(back, x, y, makecol(x * 255 / 639, 20 + y * 200 / 479, (x + 3 * y) % 256));
    const int colours[4] = {makecol(200, 0, 0), makecol(0, 200, 0), makecol(0, 0, 200),
                            makecol(255, 255, 255)};
    for (int row = 0, q = s.sheet_h / 4; row < 4; row++)
        rectfill(sheet, 0, row * q, row == 3 ? s.sheet_w / 2 - 1 : s.sheet_w - 1, (row + 1) * q - 1,
                 colours[row]);
    BITMAP *pictures[5] = {solid(6, 6, makecol(255, 255, 0)), back, sheet,
                           solid(s.title_w, s.title_h, makecol(90, 30, 120)),
                           solid(60, 30, makecol(220, 120, 40))};
    for (int i = 0; i < 5; i++) {
        save_bitmap((dir + "/" + NAMES[i]).c_str(), pictures[i], NULL);
        destroy_bitmap(pictures[i]);
    }
    return dir;
}

int load_test_images(const TestImageSizes &sizes) {
    std::string dir = write_test_images(sizes);
    int result = headless_load(dir.c_str());
    fs::remove_all(dir);
    return result;
}

// Pixels where two 32-bit frames differ; rows that agree byte for byte are passed over whole.
int count_differences(BITMAP *a, BITMAP *b) {
    int n = 0;
    for (int y = 0; y < FRAME_H; y++)
        for (int x = 0; std::memcmp(a->line[y], b->line[y], 4 * FRAME_W) && x < FRAME_W; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}

int rgb(int r, int g, int b) {
    return makecol32(r, g, b);
}
