// The game on a desktop, headless: scaled frames and pointer, keys in the waits, quitting in them.
#include <gtest/gtest.h>
#include "harness/harness.h"

// Holds key k (and buttons) for two frames, then lets go for one.
static void script_key(int k, int buttons = 0) {
    script_hold({600, 5, buttons, 0, k}, 2);
    script_hold({600, 5, 0, 0}, 1);
}

// At scales 1, 2, 4 and 1 smoothed to 1024x768, with an offset, each click area's drawn corners and
// the middle of each edge give it (the lifeline icons' lower edge too), the pixels just beyond
// each edge give none; the screen shows the frame enlarged, the pointer cut at its edge; a move
// copies nothing else. A scale that cannot be had leaves the view as it was.
TEST(Desktop, PointerAndPictureAtEveryScale) {
    ASSERT_EQ(load_test_images(), 0);
    draw_panel_layer(PANEL_CONFIRM);
    draw_text_layer(TEXT_QUESTION);
    const int box[10][4] = {{40, 325, 240, 345},  {250, 325, 450, 345}, {40, 365, 240, 385},
                            {250, 365, 450, 385}, {193, 175, 227, 190}, {273, 175, 307, 190},
                            {80, 30, 140, 50},    {220, 30, 280, 50},   {360, 30, 420, 50},
                            {40, 420, 100, 450}};
    BITMAP *frame = screen; // the expected frame from here on
    blit(scene_layer, frame, 0, 0, 0, 0, FRAME_W, FRAME_H);
    draw_sprite(frame, text_layer, 0, 0);
    draw_sprite(frame, cursor_image, 637, 478);
    script_reset();
    for (int s : {1, 2, 4, 0}) { // 0: 1x smoothed to 1024x768
        const int left = s ? 3 * s - 1 : 171, top = 5, w = s ? FRAME_W * s : 1024, h = w * 3 / 4;
        screen = create_bitmap(w + left, h + top);
        ASSERT_EQ(set_view({s ? s : 1, left, top, w, h}), 0);
        EXPECT_EQ(set_view({MAX_SCALE + 9, 0, 0}), 1); // refused, the view kept as it was
        // The first and last screen pixel a frame pixel's drawn place holds.
        auto first = [w](int f) { return (f * w + FRAME_W - 1) / FRAME_W; };
        auto last = [&first](int f) { return first(f + 1) - 1; };
        for (int a = 0; a < 10; a++)
            for (int k = 0; k < 12; k++) { // the corners, each edge's middle, then just beyond
                int out = k >= 8, x0 = first(box[a][0]) - out, x1 = last(box[a][2]) + out,
                    y0 = first(box[a][1]) - out, y1 = last(box[a][3]) + out;
                int sx = k < 4 ? (k % 2 ? x1 : x0) : k % 4 < 2 ? (k % 2 ? x1 : x0) : (x0 + x1) / 2;
                int sy = k < 4 ? (k / 2 ? y1 : y0) : k % 4 < 2 ? (y0 + y1) / 2 : (k % 2 ? y1 : y0);
                script_click(left + sx, top + sy);
                EXPECT_EQ(wait_click(), out ? AREA_NONE : a) << s << " at " << sx << "," << sy;
            }
        if (!s) { // smoothed: the pointer's moves copy what a whole copy does
            BITMAP *moved = create_bitmap(screen->w, screen->h);
            clear_to_color(screen, 0x010203);
            frame_needs_whole_copy();
            for (int x : {100, 403, 277, 278, 1000, 1003, 171})
                script_hold({x, x / 2, 0, 0}, 1);
            script_hold({171, 85, 0, 1}, 1);
            wait_click();
            blit(screen, moved, 0, 0, 0, 0, screen->w, screen->h);
            clear_to_color(screen, 0x010203);
            frame_needs_whole_copy();
            present_frame();
            EXPECT_EQ(count_differences(screen, moved), 0);
            destroy_bitmap(moved);
        } else {
            putpixel(screen, left + 600 * s, top + 400 * s, 0x010203); // on the ladder, no text
            script_hold({left + 638 * s - 1, top + 478 * s, 0, 0}, 3); // moves, then Escape
            script_hold({left + 638 * s - 1, top + 478 * s, 0, 1}, 1);
            wait_click();
            int wrong = 0;
            for (int y = 0; y < FRAME_H * s; y++)
                for (int x = 0; x < FRAME_W * s; x++)
                    wrong += getpixel(screen, left + x, top + y) != getpixel(frame, x / s, y / s);
            EXPECT_EQ(wrong, 1) << "scale " << s; // the mark alone
        }
        destroy_bitmap(screen);
    }
    screen = frame;
    ASSERT_EQ(set_view({1, 0, 0}), 0);
}

// The waits answer a fresh press only, with no frame after it. Each key stands for its area in
// play's waits, only Space and Enter in the intro's (area -1); a key or the left button down as
// the wait begins counts once pressed again; other keys (M, which mutes, too) and the right and
// middle buttons do not; Escape wins over a press.
TEST(Desktop, WaitsTakeFreshPresses) {
    ASSERT_EQ(load_test_images(), 0);
    const int keys[] = {KEY_A,         KEY_B, KEY_C,         KEY_D,     KEY_ENTER,
                        KEY_ENTER_PAD, KEY_N, KEY_BACKSPACE, KEY_1,     KEY_2,
                        KEY_3,         KEY_K, KEY_SPACE,     KEY_ENTER, KEY_ENTER_PAD};
    const int areas[] = {0, 1, 2, 3, 4, 4, 5, 5, 6, 7, 8, 9, -1, -1, -1};
    const int others[2][3] = {{KEY_SPACE, KEY_M, KEY_X}, {KEY_A, KEY_K, KEY_1}}; // not counted
    for (int i = 0; i < 15; i++) {
        script_reset();
        key[keys[i]] = mouse_b = 1;
        script_key(keys[i], 1);                              // still down from before the wait
        script_key(others[areas[i] < 0][i % 3], 2 << i % 2); // the right or the middle button
        script_key(keys[i]);
        int got = areas[i] < 0 ? wait_click_or_leave_key() : wait_click();
        EXPECT_TRUE(got == areas[i] && script_frames_left() == 2) << keys[i];
    }
    script_reset();
    script_hold({0, 0, 0, 0}, 2);
    script_hold({140, 335, 1, 1}, 2); // a press over answer A with Escape
    EXPECT_TRUE(wait_click() == AREA_ESCAPE && frames_shown == 3);
}

// A bad option or value (an empty --otazky folder too) is named on standard error, then a hint to
// --help, status 2; --scale takes 1 to 41, the largest factor the library can make, and nothing
// beyond. --help prints the usage on standard output, status 0, saying where a held Escape ends
// the game and where it does not, and that closing the window ends it anywhere.
TEST(Desktop, CommandLineNamesWhatIsWrong) {
    // the options; the status and the scale parse_command_line gives, what it says on error
    const std::tuple<std::vector<const char *>, int, int, const char *> cases[] = {
        {{"--ticho", "navyse"}, 2, 0, "neznáma voľba navyse"}, // after a good one
        {{"--scale", "42"}, 2, 0, "zlá hodnota --scale 42 (celé číslo od 1 do 41)"},
        {{"--scale=0"}, 2, 0, "zlá hodnota --scale 0 (celé číslo od 1 do 41)"},
        {{"--scale"}, 2, 0, "voľbe --scale chýba hodnota (od 1 do 41)"},
        {{"--otazky="}, 2, 0, "voľbe --otazky chýba priečinok"},
        {{"--scale", "41"}, -1, 41, nullptr},
        {{"--scale=1", "--fullscreen"}, -1, 1, nullptr},
        {{"--help"}, 0, 0, nullptr}};
    std::string usage;
    for (auto [args, want_status, want_scale, said] : cases) {
        args.insert(args.begin(), "rebrik");
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        int status = parse_command_line(int(args.size()), (char **)args.data());
        usage = testing::internal::GetCapturedStdout();
        EXPECT_EQ(status * 100 + options.scale, want_status * 100 + want_scale) << args[1];
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  said ? "rebrik: " + std::string(said) + "\nPomoc: rebrik --help\n" : "");
    }
    for (const char *line : {"Esc (podržať)  koniec hry na úvode a keď hra čaká na odpoveď",
                             "(nie pri \"Si si isty?\" ani na záverečnej obrazovke)",
                             "Zatvorenie okna  koniec hry kedykoľvek"}) // --help's, the last
        EXPECT_NE(usage.find(line), std::string::npos) << line;
}

// The window's factor: the one asked for while the window and the window manager's room (32
// pixels across, 96 down) fit, else the largest that does, never under 1 or over 41; with none
// asked, the largest that fits.
TEST(Desktop, WindowAndFullScreenFitTheDesktop) {
    const int cases[][4] = {
        // asked, desktop width and height, the factor
        {0, 640, 480, 1},       {0, 1366, 768, 1},      {0, 1920, 1080, 2}, {0, 3840, 2160, 4},
        {0, 5120, 2880, 5},     {0, 32767, 32767, 41},  {0, 1312, 1056, 2}, {0, 1311, 1056, 1},
        {0, 1312, 1055, 1},     {1, 3840, 2160, 1},     {3, 3840, 2160, 3}, {4, 3840, 2160, 4},
        {5, 3840, 2160, 4},     {41, 3840, 2160, 4},    {3, 1920, 1080, 2}, {2, 640, 480, 1},
        {40, 32767, 32767, 40}, {41, 32767, 32767, 41},
    };
    for (const auto &[asked, w, h, want] : cases)
        EXPECT_EQ(window_scale(asked, w, h), want) << w << "x" << h << " asked " << asked;
    // Full screen: a whole factor that fills at least 7/8 of the largest 4:3 picture's height is
    // kept exact; below that the frame is smoothed to that picture; centred either way.
    // screen; factor, left, top, drawn width and height
    const int full[][7] = {
        {640, 480, 1, 0, 0, 640, 480},         {800, 600, 1, 0, 0, 800, 600},
        {1280, 1024, 2, 0, 32, 1280, 960},     {1366, 768, 1, 171, 0, 1024, 768},
        {1280, 800, 1, 107, 0, 1066, 800},     {1600, 900, 1, 200, 0, 1200, 900},
        {1920, 1080, 2, 320, 60, 1280, 960},   {1920, 1200, 2, 160, 0, 1600, 1200},
        {2560, 1080, 2, 640, 60, 1280, 960},   {2560, 1440, 3, 320, 0, 1920, 1440},
        {3840, 2160, 4, 640, 120, 2560, 1920}, {600, 400, 1, -20, -40, 640, 480}};
    for (const auto &c : full) {
        View v = fullscreen_view(c[0], c[1]);
        EXPECT_EQ(std::vector<int>({v.scale, v.left, v.top, v.width, v.height}),
                  std::vector<int>(c + 2, c + 7))
            << c[0] << "x" << c[1];
    }
}

// A signal leaves a quit for the next frame; a second one ends the process at once, by that
// signal.
TEST(DesktopDeathTest, SecondSignalEndsAtOnce) {
    headless_init();
    EXPECT_EXIT((install_quit_handlers(), raise(SIGHUP), raise(SIGINT), _exit(3)),
                testing::KilledBySignal(SIGINT), "");
}
