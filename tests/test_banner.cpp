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

static const int LEVEL_BANNER_Y = 410, FINAL_Y = 215, BANNER_X = 125;

class Banners : public PicturesLoaded {
  protected:
    BITMAP *board = nullptr; // the board as present_frame shows it, without the pointer
    std::vector<int> probe;  // one screen pixel per shown frame
    int probe_x = 0, probe_y = 0;

    void SetUp() override {
        PicturesLoaded::SetUp();
        if (HasFatalFailure())
            return;
        level = 6;
        lifelines_used = LIFELINE_FIFTY;
        question_lines = 1;
        std::strcpy(shown_question.line1, "Otazka");
        for (int slot = 0; slot < 4; slot++)
            std::strcpy(shown_question.answer_text[slot], "odpoved");
        for (int &s : answer_state)
            s = 0;
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
    // Records the screen pixel at (x, y) of every frame shown; the pointer stays at (0, 0).
    void watch(int x, int y) {
        probe_x = x;
        probe_y = y;
        per_frame_agent = [this] { probe.push_back(pixel_at(screen, probe_x, probe_y)); };
    }
    // What the probe should show with the box's pixel over the board at opacity k / 100.
    int expected(BITMAP *box, int banner_y, int k) {
        BITMAP *src = create_bitmap_ex(32, 1, 1), *dst = create_bitmap_ex(32, 1, 1);
        putpixel(src, 0, 0, pixel_at(box, probe_x - BANNER_X, probe_y - banner_y));
        putpixel(dst, 0, 0, pixel_at(board, probe_x, probe_y));
        blend_translucent(src, dst, 0, 0, 0, 0, 1, 1, (float)(k / 100.0));
        int p = pixel_at(dst, 0, 0);
        destroy_bitmap(src);
        destroy_bitmap(dst);
        return p;
    }
    // Checks the recorded frames against a run of opacities k / 100, starting at frame index i.
    void expect_run(BITMAP *box, int banner_y, size_t i, int first, int last) {
        int step = first <= last ? 1 : -1;
        for (int k = first; k != last + step; k += step, i++) {
            ASSERT_LT(i, probe.size());
            EXPECT_EQ(probe[i], expected(box, banner_y, k)) << "frame " << i + 1 << " k " << k;
        }
    }
    // The banner at full strength over the board: the box with the title in white glyphs.
    int differences_from_opaque_banner(BITMAP *box, int banner_y, const char *title) {
        BITMAP *banner = create_bitmap_ex(32, box->w, box->h);
        blit(box, banner, 0, 0, 0, 0, box->w, box->h);
        textout_centre_ex(banner, font, title, box->w / 2, box->h / 2 - 4, rgb(255, 255, 255), -1);
        BITMAP *want = create_bitmap_ex(32, box->w, box->h);
        blit(board, want, BANNER_X, banner_y, 0, 0, box->w, box->h);
        draw_sprite(want, banner, 0, 0);
        int n = count_differences(screen, BANNER_X, banner_y, want, 0, 0, box->w, box->h);
        destroy_bitmap(banner);
        destroy_bitmap(want);
        return n;
    }
};

// The level banner shows 200 frames: the first is the board unchanged, opacity rises by 0.01
// to full on the 101st, which carries the title of level - 1, and falls to 0.01 on the last.
TEST_F(Banners, LevelBannerFadesInAndOut) {
    watch(250, 415);
    int first_frame_differences = -1, opaque_differences = -1;
    auto record = per_frame_agent;
    per_frame_agent = [&] {
        record();
        if (frames_shown() == 1)
            first_frame_differences = count_differences(screen, BANNER_X, LEVEL_BANNER_Y, board,
                                                        BANNER_X, LEVEL_BANNER_Y, 250, 50);
        if (frames_shown() == 101)
            opaque_differences =
                differences_from_opaque_banner(banner_box, LEVEL_BANNER_Y, level_titles[5]);
    };
    show_level_banner();
    EXPECT_EQ(frames_shown(), 200);
    EXPECT_EQ(first_frame_differences, 0);
    EXPECT_EQ(opaque_differences, 0);
    expect_run(banner_box, LEVEL_BANNER_Y, 0, 0, 99);
    expect_run(banner_box, LEVEL_BANNER_Y, 100, 100, 1);
}

// The level banner reads no input: clicks and Escape while it runs change nothing.
TEST_F(Banners, LevelBannerIgnoresInput) {
    for (int i = 0; i < 20; i++)
        script_click_area(i % 10);
    script_hold({250, 430, 3, 1}, 50);
    show_level_banner();
    EXPECT_EQ(frames_shown(), 200);
}

// The pointer is drawn on every frame where the mouse stands at that moment, over the banner
// too, through the fades and the waits.
TEST_F(Banners, PointerFollowsTheMouse) {
    int at_x = 0, at_y = 0, missed = 0;
    per_frame_agent = [&] {
        missed += pixel_at(screen, at_x, at_y) != pixel_at(cursor_image, 0, 0);
        at_x = mouse_x = 120 + frames_shown() % 260;
        at_y = mouse_y = 200 + frames_shown() % 250;
        if (frames_shown() == 400)
            mouse_b = 1;
    };
    show_level_banner();
    level = 3;
    show_final_screen();
    EXPECT_EQ(frames_shown(), 500);
    EXPECT_EQ(missed, 0);
}

// The final screen fades in over 101 frames to full opacity with the title kept, stays at full
// strength until a press, and fades out over 100 frames to 0.01.
TEST_F(Banners, FinalScreenSequence) {
    level = 16;
    watch(250, 220);
    int opaque_differences = -1;
    auto record = per_frame_agent;
    per_frame_agent = [&] {
        record();
        if (frames_shown() == 101)
            opaque_differences = differences_from_opaque_banner(final_box, FINAL_Y, "milionar");
    };
    script_idle(149);
    script_hold({0, 0, 1, 0}, 300);
    show_final_screen();
    EXPECT_EQ(frames_shown(), 250);
    EXPECT_EQ(opaque_differences, 0);
    expect_run(final_box, FINAL_Y, 0, 0, 100);
    for (size_t i = 101; i < 150; i++)
        EXPECT_EQ(probe[i], expected(final_box, FINAL_Y, 100)) << "still frame " << i + 1;
    expect_run(final_box, FINAL_Y, 150, 100, 1);
}

// A click that starts and ends during the fade-in is not taken: the screen waits for a new
// press (at frame 150 here), then fades out.
TEST_F(Banners, ClickDuringFadeInIsNotTaken) {
    script_idle(5);
    script_click(250, 240);
    script_idle(140);
    script_hold({250, 240, 1, 0}, 300);
    show_final_screen();
    EXPECT_EQ(frames_shown(), 250);
}

// A left button still held from the click that ended the game must be let go, then pressed
// again.
TEST_F(Banners, HeldButtonMustBeReleasedFirst) {
    mouse_b = 1;
    script_hold({250, 240, 1, 0}, 120); // let go after frame 121
    script_idle(29);
    script_hold({250, 240, 1, 0}, 300); // pressed after frame 150
    show_final_screen();
    EXPECT_EQ(frames_shown(), 250);
}

// Any button ends the press wait: a right or middle button down when the release wait ends
// ends it at once, and one held through the whole fade-in leaves no still frame between the
// 101 fade-in and 100 fade-out frames.
TEST_F(Banners, RightOrMiddleButtonEndsThePressWait) {
    for (int button : {2, 4}) {
        script_reset();
        frame_limit = 1000;
        mouse_b = 1;
        script_hold({250, 240, 1, 0}, 120);
        script_hold({250, 240, button, 0}, 300);
        show_final_screen();
        EXPECT_EQ(frames_shown(), 221) << "button " << button;

        script_reset();
        frame_limit = 1000;
        mouse_b = button;
        script_hold({250, 240, button, 0}, 300);
        show_final_screen();
        EXPECT_EQ(frames_shown(), 201) << "button " << button;
    }
}

// Escape does not end the final screen; only the press after it does.
TEST_F(Banners, EscapeDoesNothingThere) {
    script_hold({250, 240, 0, 1}, 200);
    script_hold({250, 240, 1, 1}, 300);
    show_final_screen();
    EXPECT_EQ(frames_shown(), 301);
}

// Both animations leave the layers as they found them and the text mode of play in force: a
// text cell drawn afterwards wipes what lies under it (here the left part of "B:" under the
// last cell of a 24-character answer A).
TEST_F(Banners, LayersAndTextModeRestored) {
    BITMAP *scene = create_bitmap_ex(32, FRAME_W, FRAME_H);
    BITMAP *text = create_bitmap_ex(32, FRAME_W, FRAME_H);
    blit(scene_layer, scene, 0, 0, 0, 0, FRAME_W, FRAME_H);
    blit(text_layer, text, 0, 0, 0, 0, FRAME_W, FRAME_H);
    for (int which = 0; which < 2; which++) {
        script_reset();
        frame_limit = 1000;
        script_idle(120);
        script_hold({0, 0, 1, 0}, 300);
        if (which == 0)
            show_level_banner();
        else
            show_final_screen();
        EXPECT_EQ(count_differences(scene_layer, 0, 0, scene, 0, 0, FRAME_W, FRAME_H), 0);
        EXPECT_EQ(count_differences(text_layer, 0, 0, text, 0, 0, FRAME_W, FRAME_H), 0);

        std::strcpy(shown_question.answer_text[0], "ABCDEFGHIJKLMNOPQRSTUVWX");
        draw_text_layer(TEXT_QUESTION);
        int orange_left = 0;
        for (int y = 332; y < 340; y++)
            for (int x = 266; x < 274; x++)
                orange_left += pixel_at(text_layer, x, y) == rgb(255, 192, 0);
        EXPECT_EQ(orange_left, 0) << "after animation " << which;
        std::strcpy(shown_question.answer_text[0], "odpoved");
        draw_text_layer(TEXT_QUESTION);
    }
    destroy_bitmap(scene);
    destroy_bitmap(text);
}
