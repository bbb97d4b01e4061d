// Level banner and final screen: the opacity of every frame, the final screen's waits, and what
// the animations leave behind.
#include <algorithm>
#include "harness/test_images.h"

class Banners : public ::testing::Test {
  protected:
    BITMAP *board, *banner, *want; // the board without the pointer, the banner, an expected band
    std::vector<int> wrong;        // frames unlike the banner over the board at their opacity
    int frames = 0;                // how many the animation must show
    void SetUp() override {
        ASSERT_EQ(load_test_images(), 0);
        level = 6;
        draw_text_layer(0);
        board = create_bitmap_ex(32, FRAME_W, FRAME_H);
        banner = create_bitmap_ex(32, 250, 50);
        want = create_bitmap_ex(32, FRAME_W, 50);
        blit(scene_layer, board, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(board, text_layer, 0, 0);
        script_reset();
        frame_limit = 1000;
    }
    // Every animation shows just its frames, each as expected, and restores layers and text mode.
    void TearDown() override {
        EXPECT_EQ(frames_shown(), frames);
        EXPECT_EQ(wrong, std::vector<int>());
        blit(scene_layer, back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(back_buffer, text_layer, 0, 0);
        EXPECT_EQ(count_differences(back_buffer, 0, 0, board, 0, 0, FRAME_W, FRAME_H), 0);
        EXPECT_EQ(_textmode, MASK_COLOR);
        for (BITMAP *b : {board, banner, want})
            destroy_bitmap(b);
    }
    // Expects `count` frames and compares the band y to y + 49 of frame n with the box and this
    // title in white laid at (125, y) over the board at opacity(n) / 100; frame 1 is the board.
    void watch(BITMAP *box, int y, const char *title, int count, int (*opacity)(int)) {
        frames = count;
        blit(box, banner, 0, 0, 0, 0, 250, 50);
        textout_centre_ex(banner, font, title, 125, 21, rgb(255, 255, 255), -1);
        per_frame_agent = [this, y, opacity] {
            int n = frames_shown();
            blit(board, want, 0, y, 0, 0, FRAME_W, 50);
            if (n > 1)
                blend_translucent(banner, want, 0, 0, 125, 0, 250, 50, (float)(opacity(n) / 100.0));
            if (n > frames || count_differences(screen, 0, y, want, 0, 0, FRAME_W, 50))
                wrong.push_back(n);
        };
    }
};

// The level banner fades title level - 1 in over 101 frames, out over 100, whatever the input.
TEST_F(Banners, LevelBanner) {
    watch(banner_box, 410, "flakac", 200, [](int n) { return std::min(n - 1, 201 - n); });
    script_hold({0, 0, 1, 1}, 300);
    show_level_banner();
}

// The final screen fades in (101), stays opaque until a fresh press of any button, fades out (100).
TEST_F(Banners, FinalScreen) {
    level = 16;
    watch(final_box, 215, "milionar", 250, [](int n) { return std::min({n - 1, 100, 251 - n}); });
    script_idle(5);
    script_click(0, 0);             // a click in the fade-in: not taken
    script_hold({0, 0, 1, 0}, 100); // a press held past it: not taken
    script_hold({0, 0, 0, 1}, 40);  // Escape alone: not taken
    script_hold({0, 0, 2, 1}, 300); // the right button after frame 150 is
    show_final_screen();
}

// The pointer follows the mouse on every frame, over and around the banner, leaving no trail:
// each whole screen is the board, the banner at its opacity and the pointer where it was.
TEST_F(Banners, PointerLeavesNoTrail) {
    frames = 200;
    blit(banner_box, banner, 0, 0, 0, 0, 250, 50);
    textout_centre_ex(banner, font, "flakac", 125, 21, rgb(255, 255, 255), -1);
    for (int n = 1; n <= 200; n++)
        script_hold({(n * 7) % 600, 380 + (n * 13) % 90, 0, 0}, 1);
    BITMAP *full = create_bitmap_ex(32, FRAME_W, FRAME_H);
    int px = mouse_x, py = mouse_y;
    per_frame_agent = [&] {
        int n = frames_shown();
        blit(board, full, 0, 0, 0, 0, FRAME_W, FRAME_H);
        blend_translucent(banner, full, 0, 0, 125, 410, 250, 50, std::min(n - 1, 201 - n) / 100.0);
        draw_sprite(full, cursor_image, px, py);
        if (count_differences(screen, 0, 0, full, 0, 0, FRAME_W, FRAME_H))
            wrong.push_back(n);
        px = mouse_x;
        py = mouse_y;
    };
    show_level_banner();
    destroy_bitmap(full);
}
