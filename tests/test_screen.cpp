// The look, headless and to the pixel: whole layers and every animation frame rebuilt from the
// board's numbers, the blend, the pictures refused or taken, the click areas and the click wait.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include "harness/harness.h"

static const int WHITE = rgb(255, 255, 255), ORANGE = rgb(255, 192, 0);

// A 640x480 bitmap cleared to MASK_COLOR.
static BITMAP *masked_frame(void) {
    BITMAP *b = create_bitmap_ex(32, FRAME_W, FRAME_H);
    clear_to_color(b, MASK_COLOR);
    return b;
}

// The text layer as it must look for these flags, drawn from the board's numbers.
static BITMAP *expected_text(int flags) {
    BITMAP *e = masked_frame();
    auto centred = [e](const char *s, int x, int y, int c) {
        textout_centre_ex(e, font, s, x, y, c, MASK_COLOR);
    };
    for (int s = 0; flags & TEXT_QUESTION && s < 4; s++) {
        int x = 40 + 210 * (s % 2), y = 332 + 40 * (s / 2);
        textout_ex(e, font, std::string(1, char('A' + s)).append(":").c_str(), x + 18, y, ORANGE,
                   MASK_COLOR);
        textout_ex(e, font, shown_question.answer_text[s], x + 42, y, WHITE, MASK_COLOR);
    }
    if (flags & TEXT_QUESTION)
        question_lines == 1 ? centred(shown_question.line1, 245, 276, WHITE)
                            : (centred(shown_question.line1, 245, 268, WHITE),
                               centred(shown_question.line2, 245, 284, WHITE));
    for (int row = 1; row <= 15; row++) {
        char line[32];
        std::snprintf(line, sizeof line, "%4d%11s", row, level_titles[row]);
        textout_ex(e, font, line, 500, 480 - 30 * row, row % 5 ? WHITE : ORANGE, MASK_COLOR);
    }
    if (flags & TEXT_PROMPT)
        centred("Si si isty?", 250, 160, WHITE), centred("ANO", 210, 180, WHITE),
            centred("NIE", 290, 180, WHITE);
    if (flags & TEXT_INTRO) {
        draw_sprite(e, title_image, (500 - title_image->w) / 2, (480 - title_image->h) / 2);
        centred("ESC to exit | click to continue", 347, 450, rgb(0, 64, 128));
        return e;
    }
    int w = lifeline_sheet->w, q = lifeline_sheet->h / 4;
    BITMAP *mark = create_sub_bitmap(lifeline_sheet, 0, 3 * q, w, q);
    for (int k = 0; k < 3; k++) {
        blit(lifeline_sheet, e, 0, k * q, 110 + 140 * k - w / 2, 30, w, q);
        if (lifelines_used & (1 << k))
            draw_sprite(e, mark, 110 + 140 * k - w / 2, 30);
    }
    destroy_bitmap(mark);
    blit(exit_button, e, 0, 0, 40, 420, 60, 30);
    return e;
}

// The whole text layer for each set of flags and used lifelines, on odd-sized pictures (icons
// and intro picture centred with truncation); texts printed as they stand, "%" too.
TEST(Screen, TextLayerWholeFrames) {
    ASSERT_EQ(load_test_images({61, 84, 201, 101}), 0);
    const char *answers[4] = {"tri", "%d%%%s", "", "X"};
    for (int s = 0; s < 4; s++)
        std::strcpy(shown_question.answer_text[s], answers[s]);
    std::strcpy(shown_question.line1, "%s%n%d");
    std::strcpy(shown_question.line2, "druhy riadok");
    const int cases[][3] = {{TEXT_QUESTION, 0, 1},
                            {TEXT_QUESTION, 1, 2},
                            {0, 2, 1},
                            {TEXT_QUESTION | TEXT_PROMPT, 4, 2},
                            {TEXT_INTRO, 7, 1},
                            {0, 7, 1}};
    for (const auto &c : cases) {
        lifelines_used = c[1];
        question_lines = c[2];
        draw_text_layer(c[0]);
        BITMAP *want = expected_text(c[0]);
        EXPECT_EQ(count_differences(text_layer, want), 0)
            << "flags " << c[0] << ", used " << c[1] << ", lines " << c[2];
        destroy_bitmap(want);
    }
}

// The whole scene: the background with the question box, the buttons in their states' rows,
// the confirmation box and the ladder marker blended over it at exactly 0.75.
TEST(Screen, PanelWholeFrames) {
    ASSERT_EQ(load_test_images(), 0);
    const int cases[][6] = {{0, 1, 0, 1, 2, 0},
                            {PANEL_CONFIRM, 7, 1, 0, 0, 0},
                            {PANEL_NO_QUESTION | PANEL_CONFIRM, 15, 0, 0, 0, 0},
                            {PANEL_NO_QUESTION, 0, 0, 0, 0, 0}};
    for (const auto &c : cases) {
        level = c[1];
        std::copy(c + 2, c + 6, answer_state);
        draw_panel_layer(c[0]);
        BITMAP *p = masked_frame(), *want = create_bitmap_ex(32, FRAME_W, FRAME_H);
        if (!(c[0] & PANEL_NO_QUESTION))
            blit(question_box, p, 0, 0, 40, 255, 410, 50);
        for (int s = 0; !(c[0] & PANEL_NO_QUESTION) && s < 4; s++)
            blit(answer_sheet, p, 0, 20 * c[2 + s], 40 + 210 * (s % 2), 325 + 40 * (s / 2), 200,
                 20);
        if (c[0] & PANEL_CONFIRM)
            blit(confirm_box, p, 0, 0, 175, 153, 150, 40);
        int y = 480 - 30 * level, teal = rgb(0, 128, 128);
        if (level)
            rectfill(p, 512, y - 4, 628, y + 10, teal),
                triangle(p, 512, y - 4, 512, y + 10, 505, y + 3, teal),
                triangle(p, 628, y - 4, 628, y + 10, 635, y + 3, teal);
        blit(background_image, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
        blend_translucent(p, want, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
        EXPECT_EQ(count_differences(scene_layer, want), 0) << c[0] << " " << c[1];
        destroy_bitmap(p);
        destroy_bitmap(want);
    }
}

// Every frame of an animation: the board, the box with the title of level - 1 centred in white
// at (125, y) blended at opacity(n) / 100 (frame 1 the board alone), and the pointer where the
// mouse was; then the layers and the text mode are as before.
static void expect_animation(void (*animation)(void), BITMAP **box_made, int y, int count,
                             int (*opacity)(int)) {
    ASSERT_EQ(load_test_images(), 0);
    BITMAP *box = *box_made;
    draw_panel_layer(0);
    draw_text_layer(0);
    BITMAP *board = create_bitmap_ex(32, FRAME_W, FRAME_H),
           *want = create_bitmap_ex(32, FRAME_W, FRAME_H);
    BITMAP *banner = create_bitmap_ex(32, 250, 50);
    blit(scene_layer, board, 0, 0, 0, 0, FRAME_W, FRAME_H);
    draw_sprite(board, text_layer, 0, 0);
    blit(box, banner, 0, 0, 0, 0, 250, 50);
    textout_centre_ex(banner, font, level_titles[level - 1], 125, 21, WHITE, -1);
    std::vector<int> wrong;
    int px = mouse_x, py = mouse_y;
    per_frame_agent = [&] {
        int n = frames_shown();
        blit(board, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
        if (n > 1)
            blend_translucent(banner, want, 0, 0, 125, y, 250, 50, (float)(opacity(n) / 100.0));
        draw_sprite(want, cursor_image, px, py);
        if (n > count || count_differences(screen, want))
            wrong.push_back(n);
        px = mouse_x, py = mouse_y;
    };
    animation();
    EXPECT_TRUE(frames_shown() == count && wrong.empty()) << frames_shown() << " " << wrong.size();
    blit(scene_layer, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
    draw_sprite(want, text_layer, 0, 0);
    EXPECT_TRUE(count_differences(want, board) == 0 && _textmode == MASK_COLOR);
    for (BITMAP *b : {board, want, banner})
        destroy_bitmap(b);
}

// The level banner fades in over 101 frames (0.00 to 1.00... to 0.99), out over 100, whatever
// the input, with the pointer moving over and around it.
TEST(Screen, LevelBannerFrames) {
    script_reset();
    for (int n = 1; n <= 200; n++)
        script_hold({(n * 7) % 600, 380 + (n * 13) % 90, n % 2, n % 3 == 0}, 1);
    level = 6;
    expect_animation(show_level_banner, &banner_box, 410, 200,
                     [](int n) { return std::min(n - 1, 201 - n); });
}

// The final screen fades in over 101 frames, stays opaque until a fresh press of any button
// (not in the fade-in, not one held over from it, not Escape), then fades out over 100.
TEST(Screen, FinalScreenFrames) {
    script_reset();
    script_hold({10, 20, 0, 0}, 5);
    script_click(300, 230);             // a click in the fade-in: not taken
    script_hold({300, 230, 1, 0}, 100); // a press held past it: not taken
    script_hold({0, 0, 0, 1}, 40);      // Escape alone: not taken
    script_hold({5, 400, 2, 1}, 300);   // the right button after frame 150 is
    level = 16;
    expect_animation(show_final_screen, &final_box, 215, 250, [](int n) {
        return std::min({n - 1, 100, 251 - n});
    });
}

// Worked examples of the blend: the product rounded to single precision, the sum truncated;
// MASK_COLOR skipped in the source only; both ends of alpha.
TEST(Screen, BlendArithmetic) {
    headless_init();
    const struct {
        int src, dst;
        float alpha;
        int want;
    } cases[] = {{rgb(0, 0, 0), rgb(10, 10, 10), 0.75f, rgb(2, 2, 2)},
                 {rgb(10, 10, 10), rgb(0, 0, 0), 0.75f, rgb(7, 7, 7)},
                 {rgb(0, 0, 192), rgb(100, 100, 100), 0.75f, rgb(25, 25, 169)},
                 {rgb(100, 100, 100), rgb(0, 0, 0), 0.01f, rgb(1, 1, 1)},
                 {rgb(0, 0, 0), rgb(100, 100, 100), 0.15f, rgb(84, 84, 84)}, // not 85
                 {MASK_COLOR, rgb(1, 2, 3), 1.0f, rgb(1, 2, 3)},
                 {rgb(0, 0, 0), MASK_COLOR, 1.0f, rgb(0, 0, 0)},
                 {rgb(12, 200, 99), rgb(250, 3, 40), 1.0f, rgb(12, 200, 99)},
                 {rgb(12, 200, 99), rgb(250, 3, 40), 0.0f, rgb(250, 3, 40)}};
    // Rows of 1 to 7 pixels with the example in every place: the rest masked, nothing else moves.
    BITMAP *s = create_bitmap(7, 1), *d = create_bitmap(8, 1);
    for (const auto &c : cases)
        for (int w = 1; w <= 7; w++) {
            clear_to_color(s, MASK_COLOR);
            clear_to_color(d, rgb(5, 6, 7));
            putpixel(s, w - 1, 0, c.src);
            putpixel(d, w - 1, 0, c.dst);
            blend_translucent(s, d, 0, 0, 0, 0, w, 1, c.alpha);
            for (int x = 0; x < 8; x++)
                EXPECT_EQ(getpixel(d, x, 0), x == w - 1 ? c.want : rgb(5, 6, 7))
                    << c.src << " " << w;
        }
    destroy_bitmap(s);
    destroy_bitmap(d);
}

// Spoils picture `name` in the folder: text, the other format's bytes, or cut to half.
static void spoil(const std::string &dir, const char *name, int kind) {
    std::string path = dir + "/" + name,
                other = dir + (name[std::strlen(name) - 1] == 'p' ? "/x.tga" : "/x.bmp");
    if (kind == 0) {
        std::ofstream(path, std::ios::binary) << "toto nie je obrazok\n";
    } else if (kind == 1) {
        BITMAP *b = load_bitmap(path.c_str(), NULL);
        save_bitmap(other.c_str(), b, NULL);
        destroy_bitmap(b);
        std::filesystem::rename(other, path);
    } else {
        ASSERT_EQ(truncate(path.c_str(), std::filesystem::file_size(path) / 2), 0);
    }
}

// Each picture missing or spoilt is refused; a background other than 640x480 (one pixel short
// or over either way) and a sheet under 4 rows are refused; shapes that only spoil the look load.
TEST(Screen, PicturesRefusedOrTaken) {
    for (const char *name : {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga", "exit.bmp"})
        for (int kind = 0; kind < 4; kind++) {
            std::string dir = write_test_images();
            kind < 3 ? spoil(dir, name, kind) : (void)std::filesystem::remove(dir + "/" + name);
            EXPECT_EQ(headless_load(dir.c_str()), 1) << name << " " << kind;
            std::filesystem::remove_all(dir);
        }
    const struct {
        TestImageSizes sizes;
        int result;
    } shapes[] = {{{60, 80, 200, 100, 640, 480}, 0}, {{60, 80, 200, 100, 639, 480}, 1},
                  {{60, 80, 200, 100, 641, 480}, 1}, {{60, 80, 200, 100, 640, 479}, 1},
                  {{60, 80, 200, 100, 640, 481}, 1}, {{60, 3, 200, 100, 640, 480}, 1},
                  {{60, 4, 200, 100, 640, 480}, 0},  {{150, 90, 520, 500, 640, 480}, 0}};
    for (const auto &s : shapes)
        EXPECT_EQ(load_test_images(s.sizes), s.result)
            << s.sizes.background_w << "x" << s.sizes.background_h << " " << s.sizes.sheet_h;
}

// Pure magenta becomes MASK_COLOR whatever the file's format, depth or alpha byte; the ladder
// strip (blue i * 255 / 480 on row i) and the separator (blue 192 at x 499) are baked into the
// background at 0.75, the play area left as it was.
TEST(Screen, MagentaAndLadderStrip) {
    std::string dir = write_test_images();
    for (int depth : {24, 32})
        for (const char *ext : {".bmp", ".tga"}) {
            BITMAP *b = create_bitmap_ex(depth, 2, 1);
            putpixel(b, 0, 0, depth == 32 ? makeacol32(255, 0, 255, 0) : makecol24(255, 0, 255));
            putpixel(b, 1, 0, depth == 32 ? makeacol32(0, 128, 128, 255) : makecol24(0, 128, 128));
            std::string path = dir + "/m" + ext;
            save_bitmap(path.c_str(), b, NULL);
            destroy_bitmap(b);
            BITMAP *loaded = load_image(path.c_str());
            ASSERT_NE(loaded, nullptr) << depth << ext;
            EXPECT_TRUE(getpixel(loaded, 0, 0) == MASK_COLOR &&
                        getpixel(loaded, 1, 0) == rgb(0, 128, 128));
            destroy_bitmap(loaded);
        }
    BITMAP *picture = load_image((dir + "/pozadiep.tga").c_str()), *want = masked_frame();
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    for (int i = 0; i < FRAME_H; i++)
        hline(want, 500, i, 639, rgb(0, 0, i * 255 / 480)), putpixel(want, 499, i, rgb(0, 0, 192));
    blend_translucent(want, picture, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
    EXPECT_EQ(count_differences(picture, background_image), 0);
    destroy_bitmap(picture);
    destroy_bitmap(want);
    std::filesystem::remove_all(dir);
}

// Overlapping lifeline areas go to the lower one: wide sheets' icons overlap near x 180 and 320.
TEST(Screen, OverlappingLifelineAreas) {
    const int probes[][4] = {{140, 180, 35, 6}, {140, 181, 35, 7}, {140, 321, 35, 8},
                             {160, 185, 35, 6}, {160, 325, 35, 7}, {160, 470, 50, 8}};
    for (int sheet_w : {140, 160}) {
        ASSERT_EQ(load_test_images({sheet_w}), 0);
        for (const auto &p : probes)
            EXPECT_TRUE(p[0] != sheet_w || hit_test(p[1], p[2]) == p[3])
                << sheet_w << ": " << p[1] << "," << p[2];
    }
}

// The wait answers a fresh left press only, with no frame after it; Escape wins over a press.
TEST(Screen, ClickWait) {
    ASSERT_EQ(load_test_images(), 0);
    script_reset();
    mouse_b = 1;
    script_hold({140, 335, 1, 0}, 3); // still down over answer A
    script_hold({350, 375, 2, 0}, 2); // right, then middle
    script_hold({350, 375, 4, 0}, 2);
    script_hold({350, 375, 1, 0}, 2); // pressed over answer D
    EXPECT_TRUE(wait_click() == 3 && frames_shown() == 8);
    script_reset();
    script_hold({0, 0, 0, 0}, 2);
    script_hold({140, 335, 1, 1}, 2); // a press with Escape
    EXPECT_TRUE(wait_click() == -2 && frames_shown() == 3);
}
