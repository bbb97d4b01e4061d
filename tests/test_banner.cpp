// Level banner and final screen: the frames they show, their opacities, the waits of the final
// screen, and what they leave behind.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "game/game.h"
#include "gfx/gfx.h"
#include "harness/harness.h"
#include "harness/test_images.h"
#include "questions/questions.h"

static const int BANNER_X = 125, LEVEL_BANNER_Y = 410, FINAL_Y = 215;

class Banners : public PicturesLoaded {
  protected:
    BITMAP *board = nullptr; // the board as present_frame shows it, without the pointer
    BITMAP *box = nullptr;   // the art of the banner being watched
    int banner_y = 0, probe_x = 0, probe_y = 0;
    std::vector<int> probe; // one screen pixel per shown frame
    int first_frame_differences = -1, opaque_differences = -1;

    void SetUp() override {
        PicturesLoaded::SetUp();
        if (HasFatalFailure())
            return;
        level = 6;
        question_lines = 1;
        std::strcpy(shown_question.line1, "Otazka");
        for (int slot = 0; slot < 4; slot++)
            std::strcpy(shown_question.answer_text[slot], "odpoved");
        draw_panel_layer(0);
        draw_text_layer(TEXT_QUESTION);
        board = create_bitmap_ex(32, FRAME_W, FRAME_H);
        blit(scene_layer, board, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(board, text_layer, 0, 0);
        script_reset();
        frame_limit = 1000;
    }
    void TearDown() override {
        destroy_bitmap(board);
    }
    // Follows a banner made of this box at this height, the pointer kept at (0, 0): one pixel of
    // every frame, the whole banner of the first frame and of the 101st (full strength).
    void watch(BITMAP *art, int y, const char *title) {
        box = art;
        banner_y = y;
        probe_x = 250;
        probe_y = y + 5;
        per_frame_agent = [this, title] {
            probe.push_back(pixel_at(screen, probe_x, probe_y));
            if (frames_shown() == 1)
                first_frame_differences = count_differences(screen, BANNER_X, banner_y, board,
                                                            BANNER_X, banner_y, 250, 50);
            if (frames_shown() == 101)
                opaque_differences = differences_from_opaque_banner(title);
        };
    }
    // What the probe should show with the box's pixel over the board at opacity k / 100.
    int expected(int k) {
        BITMAP *src = create_bitmap_ex(32, 1, 1), *dst = create_bitmap_ex(32, 1, 1);
        putpixel(src, 0, 0, pixel_at(box, probe_x - BANNER_X, probe_y - banner_y));
        putpixel(dst, 0, 0, pixel_at(board, probe_x, probe_y));
        blend_translucent(src, dst, 0, 0, 0, 0, 1, 1, (float)(k / 100.0));
        int p = pixel_at(dst, 0, 0);
        destroy_bitmap(src);
        destroy_bitmap(dst);
        return p;
    }
    // Checks recorded frames from index i on against the opacities first / 100 to last / 100.
    void expect_run(size_t i, int first, int last) {
        int step = first <= last ? 1 : -1;
        for (int k = first; k != last + step; k += step, i++) {
            ASSERT_LT(i, probe.size());
            EXPECT_EQ(probe[i], expected(k)) << "frame " << i + 1 << " k " << k;
        }
    }
    // The screen against the box at full strength over the board, the title in white glyphs.
    int differences_from_opaque_banner(const char *title) {
        BITMAP *banner = create_bitmap_ex(32, 250, 50), *want = create_bitmap_ex(32, 250, 50);
        blit(box, banner, 0, 0, 0, 0, 250, 50);
        textout_centre_ex(banner, font, title, 125, 21, rgb(255, 255, 255), -1);
        blit(board, want, BANNER_X, banner_y, 0, 0, 250, 50);
        draw_sprite(want, banner, 0, 0);
        int n = count_differences(screen, BANNER_X, banner_y, want, 0, 0, 250, 50);
        destroy_bitmap(banner);
        destroy_bitmap(want);
        return n;
    }
};

// The level banner shows 200 frames whatever the input: the first is the board unchanged, the
// opacity rises by 0.01 to full on the 101st, which carries the title of level - 1, and falls
// to 0.01 on the last.
TEST_F(Banners, LevelBannerFadesInAndOut) {
    watch(banner_box, LEVEL_BANNER_Y, "flakac");
    script_hold({0, 0, 1, 1}, 50);
    script_hold({0, 0, 2, 0}, 50);
    show_level_banner();
    EXPECT_EQ(frames_shown(), 200);
    EXPECT_EQ(first_frame_differences, 0);
    EXPECT_EQ(opaque_differences, 0);
    expect_run(0, 0, 99);
    expect_run(100, 100, 1);
}

// The final screen fades in over 101 frames to full strength with the title kept, stays so
// until a press (after frame 150 here), and fades out over 100 frames to 0.01.
TEST_F(Banners, FinalScreenSequence) {
    level = 16;
    watch(final_box, FINAL_Y, "milionar");
    script_idle(149);
    script_hold({0, 0, 1, 0}, 300);
    show_final_screen();
    EXPECT_EQ(frames_shown(), 250);
    EXPECT_EQ(first_frame_differences, 0);
    EXPECT_EQ(opaque_differences, 0);
    expect_run(0, 0, 100);
    for (size_t i = 101; i < 150; i++)
        EXPECT_EQ(probe[i], expected(100)) << "still frame " << i + 1;
    expect_run(150, 100, 1);
}

// A click that starts and ends during the fade-in is not taken, and Escape does not end the
// wait: the screen waits for the press after frame 150 (or 200), then fades out.
TEST_F(Banners, FadeInClicksAndEscapeAreNotTaken) {
    script_idle(5);
    script_click(250, 240);
    script_idle(140);
    script_hold({250, 240, 1, 0}, 300);
    show_final_screen();
    EXPECT_EQ(frames_shown(), 250);

    script_reset();
    script_hold({250, 240, 0, 1}, 200);
    script_hold({250, 240, 1, 1}, 300);
    show_final_screen();
    EXPECT_EQ(frames_shown(), 301);
}

// A left button held from the click that ended the game is let go first; a right or middle
// button down when that wait ends, or held through the whole fade-in, ends the press wait at
// once.
TEST_F(Banners, ReleaseWaitThenAnyButton) {
    for (int button : {2, 4}) {
        script_reset();
        mouse_b = 1;
        script_hold({250, 240, 1, 0}, 120); // let go after frame 121
        script_hold({250, 240, button, 0}, 300);
        show_final_screen();
        EXPECT_EQ(frames_shown(), 221) << "button " << button;

        script_reset();
        mouse_b = button;
        script_hold({250, 240, button, 0}, 300);
        show_final_screen();
        EXPECT_EQ(frames_shown(), 201) << "button " << button;
    }
}

// Both animations leave the layers as they found them and the text mode of play in force: a
// text cell drawn afterwards wipes what lies under it (here the left part of "B:" under the
// last cell of a 24-character answer A).
TEST_F(Banners, LayersAndTextModeRestored) {
    BITMAP *scene = create_bitmap_ex(32, FRAME_W, FRAME_H);
    BITMAP *text = create_bitmap_ex(32, FRAME_W, FRAME_H);
    blit(scene_layer, scene, 0, 0, 0, 0, FRAME_W, FRAME_H);
    blit(text_layer, text, 0, 0, 0, 0, FRAME_W, FRAME_H);
    for (void (*animation)(void) : {show_level_banner, show_final_screen}) {
        script_reset();
        script_idle(120);
        script_hold({0, 0, 1, 0}, 300);
        animation();
        EXPECT_EQ(count_differences(scene_layer, 0, 0, scene, 0, 0, FRAME_W, FRAME_H), 0);
        EXPECT_EQ(count_differences(text_layer, 0, 0, text, 0, 0, FRAME_W, FRAME_H), 0);

        std::strcpy(shown_question.answer_text[0], "ABCDEFGHIJKLMNOPQRSTUVWX");
        draw_text_layer(TEXT_QUESTION);
        EXPECT_EQ(count_colour(text_layer, rgb(255, 192, 0), 266, 332, 8, 8), 0);
        std::strcpy(shown_question.answer_text[0], "odpoved");
        draw_text_layer(TEXT_QUESTION);
    }
    destroy_bitmap(scene);
    destroy_bitmap(text);
}
