// The game on a desktop, headless: the frame enlarged and the pointer mapped back, presenting
// only what changed, keys through the same waits as clicks, and quitting from every wait.
#include <gtest/gtest.h>
#include "harness/harness.h"
#include "sound/sound.h"

// Holds key k for two frames, then lets it go for one.
static void script_key(int k) {
    script_hold({600, 5, 0, 0, k}, 2);
    script_hold({600, 5, 0, 0}, 1);
}

// At scales 1, 2 and 4, the frame off the screen's corner: each click area's corner pixels give
// it, those beyond do not; the screen shows the frame enlarged with the pointer (cut at the
// frame's edge) and its old place erased, and a pointer move copies nothing else.
TEST(Desktop, PointerAndPictureAtEveryScale) {
    ASSERT_EQ(load_test_images(), 0);
    draw_panel_layer(PANEL_CONFIRM);
    draw_text_layer(TEXT_QUESTION);
    const int box[10][4] = {{40, 325, 240, 345},  {250, 325, 450, 345}, {40, 365, 240, 385},
                            {250, 365, 450, 385}, {193, 175, 227, 190}, {273, 175, 307, 190},
                            {80, 30, 140, 50},    {220, 30, 280, 50},   {360, 30, 420, 50},
                            {40, 420, 100, 450}};
    BITMAP *frame_screen = screen, *frame = create_bitmap(FRAME_W, FRAME_H);
    for (int s : {1, 2, 4}) {
        const int left = 3 * s - 1, top = 5;
        screen = create_bitmap(FRAME_W * s + left, FRAME_H * s + top);
        ASSERT_EQ(set_view({s, left, top}), 0);
        script_reset();
        for (int a = 0; a < 10; a++) {
            for (int sx : {box[a][0] * s, box[a][2] * s + s - 1})
                for (int sy : {box[a][1] * s, box[a][3] * s + s - 1}) {
                    script_click(left + sx, top + sy);
                    EXPECT_EQ(wait_click(), a) << "scale " << s << " at " << sx << "," << sy;
                }
            for (int sx : {box[a][0] * s - 1, box[a][2] * s + s})
                for (int sy : {box[a][1] * s - 1, box[a][3] * s + s}) {
                    script_click(left + sx, top + sy);
                    EXPECT_NE(wait_click(), a) << "scale " << s << " at " << sx << "," << sy;
                }
        }
        const int mark_x = left + 600 * s, mark_y = top + 400 * s; // on the ladder, no text
        putpixel(screen, mark_x, mark_y, rgb(1, 2, 3));
        script_hold({left + 637 * s + s - 1, top + 478 * s, 0, 0}, 3); // moves, then Escape
        script_hold({left + 637 * s + s - 1, top + 478 * s, 0, 1}, 1);
        wait_click();
        EXPECT_EQ(getpixel(screen, mark_x, mark_y), rgb(1, 2, 3));
        blit(scene_layer, frame, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(frame, text_layer, 0, 0);
        draw_sprite(frame, cursor_image, 637, 478);
        int wrong = 0;
        for (int y = 0; y < FRAME_H * s; y++)
            for (int x = 0; x < FRAME_W * s; x++)
                wrong += getpixel(screen, left + x, top + y) != getpixel(frame, x / s, y / s);
        EXPECT_EQ(wrong, 1) << "scale " << s; // the mark alone
        destroy_bitmap(screen);
    }
    destroy_bitmap(frame);
    screen = frame_screen;
    ASSERT_EQ(set_view({1, 0, 0}), 0);
}

// Each key stands for its area in play's waits, only Space and Enter in the intro's; a key down
// as the wait begins counts once pressed again; other keys (M, which mutes, too) do not count.
TEST(Desktop, KeysThroughTheWaits) {
    ASSERT_EQ(load_test_images(), 0);
    const struct {
        int intro, ignored, key, area;
    } cases[] = {
        {0, KEY_SPACE, KEY_A, 0},      {0, KEY_M, KEY_B, 1},
        {0, KEY_X, KEY_C, 2},          {0, 0, KEY_D, 3},
        {0, 0, KEY_ENTER, AREA_ANO},   {0, 0, KEY_ENTER_PAD, AREA_ANO},
        {0, 0, KEY_N, AREA_NIE},       {0, 0, KEY_BACKSPACE, AREA_NIE},
        {0, 0, KEY_1, AREA_FIFTY},     {0, 0, KEY_2, AREA_SWITCH},
        {0, 0, KEY_3, AREA_THIRD},     {0, 0, KEY_K, AREA_EXIT},
        {1, KEY_A, KEY_SPACE, -1},     {1, KEY_K, KEY_ENTER, -1},
        {1, KEY_1, KEY_ENTER_PAD, -1},
    };
    for (const auto &c : cases) {
        script_reset();
        key[c.key] = 1;
        script_key(c.key);
        if (c.ignored)
            script_key(c.ignored);
        script_key(c.key);
        int got = c.intro ? wait_click_or_leave_key() : wait_click();
        EXPECT_TRUE(got == c.area && script_frames_left() == 2) << c.key;
    }
    sound_muted = 0;
}

// The final screen leaves on a fresh Space or Enter after its fade-in, then fades out (100).
TEST(Desktop, FinalScreenLeavesOnAFreshKey) {
    ASSERT_EQ(load_test_images(), 0);
    level = 16;
    for (int k : {KEY_SPACE, KEY_ENTER}) {
        script_reset();
        key[k] = 1;
        script_hold({600, 5, 0, 0, k}, 150);
        script_hold({600, 5, 0, 0}, 10);
        script_key(k);
        show_final_screen();
        EXPECT_EQ(frames_shown(), 161 + 100) << k;
    }
}

// The close button in any wait (intro, question, prompt, blink, banner, final) ends with 0.
TEST(DesktopDeathTest, PendingQuitEndsEveryWait) {
    static std::string folder = game_folder();
    static void (*const waits[])(void) = {
        new_game,      [] { play_turn(); }, [] { script_key(KEY_A), play_turn(); },
        blink_correct, show_level_banner,   show_final_screen};
    for (int w = 0; w < 6; w++) {
        auto run = [w] {
            headless_load(folder.c_str());
            script_reset();
            if (w > 0)
                script_key(KEY_SPACE), new_game();
            per_frame_agent = [] {
                if (script_frames_left() == 0)
                    request_quit(0);
            };
            waits[w]();
            std::exit(3);
        };
        EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "") << "wait " << w;
    }
}
