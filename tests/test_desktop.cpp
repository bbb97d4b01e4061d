// The game on a desktop, headless: the frame enlarged and the pointer mapped back, presenting
// only what changed, keys through the same waits as clicks, and quitting from every wait.
#include "harness/harness.h"
#include <gtest/gtest.h>
#include <algorithm>

// Holds key k for two frames, then lets it go for one.
static void script_key(int k) {
    script_hold({600, 5, 0, 0, k}, 2);
    script_hold({600, 5, 0, 0}, 1);
}

// At scales 1, 2 and 4 a click on the first or last screen pixel of each corner of every
// click area gives that area, the pixel above and left of it does not, and the screen shows
// the frame enlarged with the pointer at its frame position. Frames where only the pointer
// moves copy nothing else.
TEST(Desktop, PointerAndPictureAtEveryScale) {
    ASSERT_EQ(load_test_images(), 0);
    draw_panel_layer(PANEL_CONFIRM);
    draw_text_layer(TEXT_QUESTION);
    int box[10][4] = {};
    for (auto &b : box)
        b[0] = b[1] = FRAME_W;
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
            for (int sx : {box[a][0] * s, box[a][2] * s + s - 1})
                for (int sy : {box[a][1] * s, box[a][3] * s + s - 1}) {
                    script_click(sx, sy);
                    EXPECT_EQ(wait_click(), a) << "scale " << s << " at " << sx << "," << sy;
                }
            script_click(box[a][0] * s - 1, box[a][1] * s - 1);
            EXPECT_NE(wait_click(), a) << "scale " << s << ", outside area " << a;
        }
        putpixel(screen, 600 * s, 400 * s, rgb(1, 2, 3)); // on the ladder, where no text is
        script_hold({333 * s + s - 1, 222 * s, 0, 0}, 3); // the pointer moves, then Escape
        script_hold({333 * s + s - 1, 222 * s, 0, 1}, 1);
        wait_click();
        EXPECT_EQ(getpixel(screen, 600 * s, 400 * s), rgb(1, 2, 3));
        BITMAP *frame = create_bitmap(FRAME_W, FRAME_H);
        blit(scene_layer, frame, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(frame, text_layer, 0, 0);
        draw_sprite(frame, cursor_image, 333, 222);
        int wrong = 0;
        for (int y = 0; y < FRAME_H * s; y++)
            for (int x = 0; x < FRAME_W * s; x++)
                wrong += getpixel(screen, x, y) != getpixel(frame, x / s, y / s);
        EXPECT_EQ(wrong, 1) << "scale " << s; // the mark alone
        destroy_bitmap(frame);
        destroy_bitmap(screen);
        screen = frame_screen;
    }
    ASSERT_EQ(set_view({1, 0, 0}), 0);
}

// A game by keys: the intro leaves on a fresh Space or Enter (not one held from before, not an
// answer key); the prompt takes only ANO and NIE (N or Backspace); K walks
// away, and the final screen leaves on Space or Enter.
TEST(Desktop, GameByKeys) {
    static std::string folder = game_folder();
    for (int leave : {KEY_SPACE, KEY_ENTER}) {
        ASSERT_EQ(headless_load(folder.c_str()), 0);
        script_reset();
        key[leave] = 1;
        script_hold({600, 5, 0, 0, leave}, 3);
        script_key(KEY_A);
        script_key(leave);
        new_game();
        EXPECT_EQ(script_frames_left(), 2) << "the intro did not end on " << leave;
        const int no = leave == KEY_SPACE ? KEY_N : KEY_BACKSPACE;
        const int prompt[] = {KEY_A + correct_slot, KEY_B, KEY_1, KEY_K, KEY_SPACE, KEY_M, no};
        for (int k : prompt)
            script_key(k);
        EXPECT_EQ(play_turn(), 0);
        EXPECT_EQ(script_frames_left(), 2) << "the prompt did not end on " << no;
        script_key(KEY_A + correct_slot);
        script_key(KEY_ENTER);
        EXPECT_EQ(play_turn(), 0);
        EXPECT_EQ(level, 2);
        script_key(KEY_K);
        script_hold({600, 5, 0, 0}, 150); // the fade-in
        script_key(leave);
        EXPECT_EQ(play_turn(), 1);
    }
}

// The close button in any wait (intro, question, prompt, blink, banner, final screen) ends the
// program with status 0 at the next frame.
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
