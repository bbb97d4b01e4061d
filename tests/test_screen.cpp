// The look, headless and to the pixel: whole layers and every animation frame rebuilt from the
// board's numbers, the blend, the pictures refused or taken, the click areas and the click wait.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include "harness/harness.h"

namespace fs = std::filesystem;
static const int WHITE = rgb(255, 255, 255), ORANGE = rgb(255, 192, 0), TEAL = rgb(0, 128, 128);

// Draws the text and scene layers for these flags from the board's numbers alone.
static void draw_expected(BITMAP *text, BITMAP *scene, int text_flags, int panel_flags) {
    auto centred = [text](const char *s, int x, int y, int c = WHITE) {
        textout_centre_ex(text, font, s, x, y, c, MASK_COLOR);
    };
    BITMAP *p = create_bitmap(FRAME_W, FRAME_H);
    clear_to_color(p, MASK_COLOR);
    clear_to_color(text, MASK_COLOR);
    for (int s = 0, x, y; s < 4; s++) {
        x = 40 + 210 * (s % 2), y = 325 + 40 * (s / 2);
        if (!(panel_flags & PANEL_NO_QUESTION))
            blit(answer_sheet, p, 0, 20 * answer_state[s], x, y, 200, 20);
        if (text_flags & TEXT_QUESTION)
            textprintf_ex(text, font, x + 18, y + 7, ORANGE, MASK_COLOR, "%c:", 'A' + s),
                textout_ex(text, font, shown_question.answer_text[s], x + 42, y + 7, WHITE,
                           MASK_COLOR);
    }
    if (text_flags & TEXT_QUESTION) // one line at y 276, two at 268 and 284
        centred(shown_question.line1, 245, 284 - 8 * question_lines),
            centred(question_lines == 2 ? shown_question.line2 : "", 245, 284);
    for (int row = 1; row <= 15; row++)
        textprintf_ex(text, font, 500, 480 - 30 * row, row % 5 ? WHITE : ORANGE, MASK_COLOR,
                      "%4d%11s", row, level_titles[row]);
    if (text_flags & TEXT_PROMPT)
        centred("Si si isty?", 250, 160), centred("ANO", 210, 180), centred("NIE", 290, 180);
    int w = lifeline_sheet->w, q = lifeline_sheet->h / 4, y = 480 - 30 * level;
    for (int k = 0; !(text_flags & TEXT_INTRO) && k < 3; k++) {
        blit(lifeline_sheet, text, 0, k * q, 110 + 140 * k - w / 2, 30, w, q);
        if (lifelines_used & (1 << k))
            masked_blit(lifeline_sheet, text, 0, 3 * q, 110 + 140 * k - w / 2, 30, w, q);
    }
    if (text_flags & TEXT_INTRO)
        draw_sprite(text, title_image, (500 - title_image->w) / 2, (480 - title_image->h) / 2),
            centred("ESC to exit | click to continue", 347, 450, rgb(0, 64, 128));
    else
        blit(exit_button, text, 0, 0, 40, 420, 60, 30);
    if (!(panel_flags & PANEL_NO_QUESTION))
        blit(question_box, p, 0, 0, 40, 255, 410, 50);
    if (panel_flags & PANEL_CONFIRM)
        blit(confirm_box, p, 0, 0, 175, 153, 150, 40);
    if (level)
        rectfill(p, 512, y - 4, 628, y + 10, TEAL),
            triangle(p, 512, y - 4, 512, y + 10, 505, y + 3, TEAL),
            triangle(p, 628, y - 4, 628, y + 10, 635, y + 3, TEAL);
    blit(background_image, scene, 0, 0, 0, 0, FRAME_W, FRAME_H);
    blend_translucent(p, scene, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
    destroy_bitmap(p);
}

// Whole text and scene layers by text flags, used lifelines, question lines, panel flags, level
// and button rows, on odd-sized pictures (centred, truncated); "%" printed as it stands.
TEST(Screen, TextAndPanelWholeFrames) {
    ASSERT_EQ(load_test_images({61, 84, 201, 101}), 0);
    shown_question = {"%s%n%d", "druhy riadok", {"tri", "%d%%%s", "", "X"}};
    const int cases[][9] = {{TEXT_QUESTION, 0, 1, 0, 1, 0, 1, 2, 0},
                            {TEXT_QUESTION, 1, 2, PANEL_CONFIRM, 7, 1, 0, 0, 0},
                            {0, 2, 1, PANEL_NO_QUESTION | PANEL_CONFIRM, 15, 0, 0, 0, 0},
                            {TEXT_QUESTION | TEXT_PROMPT, 4, 2, PANEL_NO_QUESTION, 0, 0, 0, 0, 0},
                            {TEXT_INTRO, 7, 1, 0, 5, 2, 2, 1, 1},
                            {0, 7, 1, 0, 10, 0, 0, 0, 0}};
    BITMAP *text = create_bitmap(FRAME_W, FRAME_H), *scene = create_bitmap(FRAME_W, FRAME_H);
    for (const auto &c : cases) {
        lifelines_used = c[1], question_lines = c[2], level = c[4];
        std::copy(c + 5, c + 9, answer_state);
        draw_text_layer(c[0]);
        draw_panel_layer(c[3]);
        draw_expected(text, scene, c[0], c[3]);
        EXPECT_EQ(count_differences(text_layer, text), 0) << "text " << c[0] << ", used " << c[1];
        EXPECT_EQ(count_differences(scene_layer, scene), 0) << "panel " << c[3] << ", " << c[4];
    }
    destroy_bitmap(text);
    destroy_bitmap(scene);
}

// Each frame: the board, the box titled level - 1 blended at opacity(n) / 100, the pointer where
// the mouse was; then all as before. The banner fades in over 101 frames, out over 100, whatever
// the input; the final screen fades in, waits for a fresh press of any button, fades out.
TEST(Screen, AnimationFrames) {
    ASSERT_EQ(load_test_images(), 0);
    for (int final : {0, 1}) {
        script_reset();
        for (int n = 1; !final && n <= 200; n++) // the pointer over and around the banner
            script_hold({(n * 7) % 600, 380 + (n * 13) % 90, n % 2, n % 3 == 0}, 1);
        if (final) {
            script_hold({10, 20, 0, 0}, 5);
            script_click(300, 230);             // a click in the fade-in: not taken
            script_hold({300, 230, 1, 0}, 100); // a press held past it: not taken
            script_hold({0, 0, 0, 1}, 40);      // Escape alone: not taken
            script_hold({5, 400, 2, 1}, 300);   // the right button after frame 150 is
        }
        level = final ? 16 : 6;
        const int y = final ? 215 : 410, count = final ? 250 : 200;
        draw_panel_layer(0);
        draw_text_layer(0);
        BITMAP *board = create_bitmap(FRAME_W, FRAME_H), *want = create_bitmap(FRAME_W, FRAME_H),
               *banner = create_bitmap(250, 50);
        blit(scene_layer, board, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(board, text_layer, 0, 0);
        blit(final ? final_box : banner_box, banner, 0, 0, 0, 0, 250, 50);
        textout_centre_ex(banner, font, level_titles[level - 1], 125, 21, WHITE, -1);
        int wrong = 0, px = mouse_x, py = mouse_y;
        per_frame_agent = [&] {
            int n = frames_shown(), opacity = std::min({n - 1, 100, count + 1 - n});
            blit(board, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
            if (n > 1)
                blend_translucent(banner, want, 0, 0, 125, y, 250, 50, (float)(opacity / 100.0));
            draw_sprite(want, cursor_image, px, py);
            wrong += n > count || count_differences(screen, want) != 0;
            px = mouse_x, py = mouse_y;
        };
        (final ? show_final_screen : show_level_banner)();
        EXPECT_TRUE(frames_shown() == count && wrong == 0) << final << ": " << wrong;
        blit(scene_layer, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(want, text_layer, 0, 0);
        EXPECT_TRUE(count_differences(want, board) == 0 && _textmode == MASK_COLOR) << final;
        for (BITMAP *b : {board, want, banner})
            destroy_bitmap(b);
    }
}

// Blend examples (product rounded to float, sum truncated; source MASK_COLOR skipped; alpha 0
// and 1) in every place of rows 1 to 7 wide, the rest masked: nothing else moves.
TEST(Screen, BlendArithmetic) {
    headless_init();
    // source, destination (0xRRGGBB), alpha in hundredths, result (0.85 of 100 comes out 84)
    const int cases[][4] = {
        {0x000000, 0x0A0A0A, 75, 0x020202}, {0x0A0A0A, 0x000000, 75, 0x070707},
        {0x646464, 0x000000, 1, 0x010101},  {0x000000, 0x646464, 15, 0x545454},
        {0x0000C0, 0x646464, 75, 0x1919A9}, {MASK_COLOR, 0x010203, 100, 0x010203},
        {0x000000, MASK_COLOR, 100, 0},     {0x0CC863, 0xFA0328, 100, 0x0CC863},
        {0x0CC863, 0xFA0328, 0, 0xFA0328}};
    BITMAP *s = create_bitmap(7, 1), *d = create_bitmap(8, 1);
    for (const auto &c : cases)
        for (int w = 1; w <= 7; w++) {
            clear_to_color(s, MASK_COLOR);
            clear_to_color(d, rgb(5, 6, 7));
            putpixel(s, w - 1, 0, c[0]);
            putpixel(d, w - 1, 0, c[1]);
            blend_translucent(s, d, 0, 0, 0, 0, w, 1, c[2] / 100.0f);
            for (int x = 0; x < 8; x++)
                EXPECT_EQ(getpixel(d, x, 0), x == w - 1 ? c[3] : rgb(5, 6, 7)) << c[0] << " " << w;
        }
    destroy_bitmap(s);
    destroy_bitmap(d);
}

// A picture spoilt (text, the other format, cut to half) or missing, a background a pixel off
// 640x480 either way, a sheet under 4 rows: refused; shapes that only spoil the look load.
TEST(Screen, PicturesRefusedOrTaken) {
    for (const char *name : {"kvmys.bmp", "pozadiep.tga", "zolici.bmp", "mili.tga", "exit.bmp"})
        for (int kind = 0; kind < 4; kind++) {
            std::string dir = write_test_images(), path = dir + "/" + name;
            if (kind == 0)
                std::ofstream(path) << "toto nie je obrazok\n";
            else if (kind == 1)
                fs::copy_file(dir + (path.back() == 'p' ? "/mili.tga" : "/exit.bmp"), path,
                              fs::copy_options::overwrite_existing);
            else
                kind == 2 ? fs::resize_file(path, fs::file_size(path) / 2) : (void)fs::remove(path);
            EXPECT_EQ(headless_load(dir.c_str()), 1) << name << " " << kind;
        }
    // sheet height, background size; load_resources' result (then a wide sheet, a tall title)
    const int shapes[][4] = {{80, 640, 480, 0}, {80, 639, 480, 1}, {80, 641, 480, 1},
                             {80, 640, 479, 1}, {80, 640, 481, 1}, {3, 640, 480, 1},
                             {4, 640, 480, 0}};
    for (const auto &s : shapes)
        EXPECT_EQ(load_test_images({60, s[0], 200, 100, s[1], s[2]}), s[3]) << s[0] << " " << s[1];
    EXPECT_EQ(load_test_images({150, 90, 520, 500}), 0);
}

// Pure magenta is MASK_COLOR whatever the format, depth or alpha; the ladder strip (blue
// i * 255 / 480 on row i, 192 at x 499) is baked into the background at 0.75, the rest kept.
TEST(Screen, MagentaAndLadderStrip) {
    std::string dir = write_test_images();
    for (std::string file : {"24.bmp", "24.tga", "32.bmp", "32.tga"}) {
        BITMAP *b = create_bitmap_ex(std::stoi(file), 2, 1);
        putpixel(b, 0, 0, makeacol_depth(bitmap_color_depth(b), 255, 0, 255, 0));
        putpixel(b, 1, 0, makeacol_depth(bitmap_color_depth(b), 0, 128, 128, 255));
        save_bitmap((file = dir + "/" + file).c_str(), b, NULL);
        destroy_bitmap(b);
        b = load_image(file.c_str());
        EXPECT_TRUE(b && getpixel(b, 0, 0) == MASK_COLOR && getpixel(b, 1, 0) == TEAL) << file;
        destroy_bitmap(b);
    }
    BITMAP *picture = load_image((dir + "/pozadiep.tga").c_str()), *strip = create_bitmap(141, 480);
    ASSERT_EQ(headless_load(dir.c_str()), 0);
    for (int i = 0; i < FRAME_H; i++)
        hline(strip, 1, i, 140, rgb(0, 0, i * 255 / 480)), putpixel(strip, 0, i, rgb(0, 0, 192));
    blend_translucent(strip, picture, 0, 0, 499, 0, 141, FRAME_H, 0.75f);
    EXPECT_EQ(count_differences(picture, background_image), 0);
    destroy_bitmap(picture);
    destroy_bitmap(strip);
}

// Overlapping lifeline areas go to the lower one: wide sheets' icons overlap near x 180 and 320.
TEST(Screen, ClickAreasAndWait) {
    const int probes[][4] = {{140, 180, 35, 6}, {140, 181, 35, 7}, {140, 321, 35, 8},
                             {160, 185, 35, 6}, {160, 325, 35, 7}, {160, 470, 50, 8}};
    for (const auto &p : probes) {
        ASSERT_EQ(load_test_images({p[0]}), 0);
        EXPECT_EQ(hit_test(p[1], p[2]), p[3]) << p[0] << ": " << p[1] << "," << p[2];
    }
    // The wait answers a fresh left press only, with no frame after it; Escape wins over a press.
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
