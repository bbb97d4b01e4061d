// The game on a desktop, headless: the frame enlarged on the screen and the pointer mapped
// back, presenting only what changed, keys through the same waits as clicks, and quitting.
#include <csignal>
#include <string>
#include "harness/game_watch.h"
#include "harness/test_images.h"

// The frame as a whole copy would show it now, with the pointer at frame point (px, py), must
// be on the screen with each pixel an s x s block.
static void expect_screen_shows_frame(int s, int px, int py) {
    BITMAP *frame = create_bitmap(FRAME_W, FRAME_H);
    blit(scene_layer, frame, 0, 0, 0, 0, FRAME_W, FRAME_H);
    draw_sprite(frame, text_layer, 0, 0);
    draw_sprite(frame, cursor_image, px, py);
    int wrong = 0;
    for (int y = 0; y < FRAME_H * s; y++)
        for (int x = 0; x < FRAME_W * s; x++)
            wrong += getpixel(screen, x, y) != getpixel(frame, x / s, y / s);
    destroy_bitmap(frame);
    EXPECT_EQ(wrong, 0) << "scale " << s;
}

// Holds key k for two frames, then lets it go for one, with the pointer out of the way.
static void script_key(int k) {
    script_hold({600, 5, 0, 0, k}, 2);
    script_hold({600, 5, 0, 0}, 1);
}

// At scales 1, 2 and 4 a click on either extreme screen pixel of each corner of every click
// area gives that area, the pixel just outside its top-left corner does not, and the screen
// shows the frame enlarged with the pointer where the frame position puts it.
TEST(Desktop, PointerAndPictureAtEveryScale) {
    ASSERT_EQ(load_test_images(), 0);
    draw_panel_layer(PANEL_CONFIRM);
    draw_text_layer(TEXT_QUESTION);
    int box[10][4] = {};
    for (int a = 0; a < 10; a++)
        box[a][0] = box[a][1] = 9999;
    for (int y = 0; y < FRAME_H; y++)
        for (int x = 0; x < FRAME_W; x++)
            if (int a = hit_test(x, y); a >= 0)
                box[a][0] = std::min(box[a][0], x), box[a][1] = std::min(box[a][1], y),
                box[a][2] = std::max(box[a][2], x), box[a][3] = std::max(box[a][3], y);
    BITMAP *frame_screen = screen;
    for (int s : {1, 2, 4}) {
        screen = create_bitmap(FRAME_W * s, FRAME_H * s);
        ASSERT_EQ(set_view({s, 0, 0}), 0);
        script_reset();
        for (int a = 0; a < 10; a++) {
            const int *b = box[a];
            for (int sx : {b[0] * s, b[0] * s + s - 1, b[2] * s, b[2] * s + s - 1})
                for (int sy : {b[1] * s, b[3] * s + s - 1}) {
                    script_click(sx, sy);
                    EXPECT_EQ(wait_click(), a) << "scale " << s << " at " << sx << "," << sy;
                }
            script_click(b[0] * s - 1, b[1] * s - 1);
            EXPECT_NE(wait_click(), a) << "scale " << s << ", left of and above area " << a;
        }
        script_hold({333 * s + s - 1, 222 * s, 0, 0}, 1); // the pointer moves, then Escape
        script_hold({333 * s + s - 1, 222 * s, 0, 1}, 1);
        wait_click();
        expect_screen_shows_frame(s, 333, 222);
        destroy_bitmap(screen);
        screen = frame_screen;
    }
    ASSERT_EQ(set_view({1, 0, 0}), 0);
}

// While neither the layers nor the pointer change, nothing reaches the screen; a moved pointer
// copies only its places; a redrawn layer copies the whole frame again.
TEST(Desktop, PresentsOnlyWhatChanged) {
    ASSERT_EQ(load_test_images(), 0);
    draw_panel_layer(0);
    draw_text_layer(TEXT_QUESTION);
    script_reset();
    present_frame();
    const int mark = rgb(1, 2, 3);
    putpixel(screen, 600, 400, mark);
    script_idle(5);
    script_hold({100, 100, 0, 0}, 5);
    script_hold({100, 100, 0, 1}, 1);
    EXPECT_EQ(wait_click(), AREA_ESCAPE);
    EXPECT_EQ(getpixel(screen, 600, 400), mark);
    putpixel(screen, 600, 400, getpixel(scene_layer, 600, 400)); // the ladder: no text there
    expect_screen_shows_frame(1, 100, 100);
    draw_text_layer(TEXT_QUESTION);
    present_frame();
    EXPECT_NE(getpixel(screen, 600, 400), mark);
}

// Each key of play stands for its area in a wait; Space and M end no wait of play; a key held
// when the wait begins counts only once pressed again.
TEST(Desktop, KeysInTheClickWait) {
    ASSERT_EQ(load_test_images(), 0);
    const int keys[][2] = {{KEY_A, 0},     {KEY_B, 1}, {KEY_C, 2},         {KEY_D, 3},
                           {KEY_ENTER, 4}, {KEY_N, 5}, {KEY_BACKSPACE, 5}, {KEY_1, 6},
                           {KEY_2, 7},     {KEY_3, 8}, {KEY_K, 9}};
    for (const auto &k : keys) {
        script_reset();
        script_key(k[0]);
        EXPECT_EQ(wait_click(), k[1]) << "key " << k[0];
    }
    script_reset();
    script_key(KEY_SPACE);
    script_key(KEY_M);
    script_hold({600, 5, 0, 1}, 1);
    EXPECT_EQ(wait_click(), AREA_ESCAPE);
    script_reset();
    key[KEY_A] = 1;
    script_hold({600, 5, 0, 0, KEY_A}, 3);
    script_idle(1);
    script_key(KEY_C);
    EXPECT_EQ(wait_click(), 2);
}

// A game by keys: the intro leaves on Space or Enter but not on an answer key; the prompt
// takes only ANO and NIE; K walks away, and the final screen leaves on Space or Enter.
TEST(Desktop, GameByKeys) {
    static std::string folder = make_game_folder();
    for (int leave : {KEY_SPACE, KEY_ENTER}) {
        ASSERT_EQ(headless_load(folder.c_str()), 0);
        script_reset();
        script_key(KEY_A);
        script_key(leave);
        new_game();
        EXPECT_LE(script_frames_left(), 2) << "the intro ended before " << leave;
        script_key(KEY_A + correct_slot);
        for (int ignored : {KEY_B, KEY_C, KEY_D, KEY_1, KEY_K, KEY_SPACE})
            script_key(ignored);
        script_key(KEY_N);
        EXPECT_EQ(play_turn(), 0);
        EXPECT_EQ(script_frames_left(), 2); // N ended the prompt, at its press
        EXPECT_EQ(level, 1);
        EXPECT_EQ(lifelines_used, 0);
        script_key(KEY_A + correct_slot);
        script_key(KEY_ENTER);
        EXPECT_EQ(play_turn(), 0);
        EXPECT_EQ(level, 2);
        script_key(KEY_K);
        per_frame_agent = [leave] {
            if (!script_frames_left() && frames_shown() < 10000)
                script_key(leave); // pressed again and again until the final screen takes one
        };
        EXPECT_EQ(play_turn(), 1);
        EXPECT_EQ(level, 2); // the title of row 1 kept
    }
}

// A quit asked for in any wait ends the program at the next frame: the close button with
// status 0, a signal by that signal.
TEST(DesktopDeathTest, PendingQuitEndsEveryWait) {
    static std::string folder = make_game_folder();
    static void (*const waits[])(void) = {new_game,
                                          [] { play_turn(); },
                                          [] {
                                              script_key(KEY_A);
                                              play_turn();
                                          },
                                          blink_correct,
                                          show_level_banner,
                                          show_final_screen};
    for (int signal_number : {0, SIGTERM}) {
        for (int w = 0; w < 6; w++) {
            auto run = [&] {
                headless_load(folder.c_str());
                script_reset();
                install_quit_handlers();
                if (w > 0)
                    script_key(KEY_SPACE), new_game();
                per_frame_agent = [signal_number] {
                    if (script_frames_left() == 0)
                        signal_number ? (void)raise(signal_number) : request_quit(0);
                };
                waits[w]();
                std::exit(3);
            };
            if (signal_number)
                EXPECT_EXIT(run(), ::testing::KilledBySignal(signal_number), "") << "wait " << w;
            else
                EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "") << "wait " << w;
        }
    }
}
