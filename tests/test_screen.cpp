// The look, headless and to the pixel: layers, animations and their waits, blend, pictures,
// click areas, font.
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include "harness/harness.h"

namespace fs = std::filesystem;
static const int WHITE = rgb(255, 255, 255), ORANGE = rgb(255, 192, 0), TEAL = rgb(0, 128, 128);

// Whether the block of text t at (x, y) on the text layer is t alone in colour c, as the
// library's own font prints it, or (c -1) holds no pixel at all; centred on x when centre is set.
static bool shows(const char *t, int x, int y, int c, bool centre = false) {
    BITMAP *alone = create_bitmap(text_length(library_font, t), 8);
    clear_to_color(alone, MASK_COLOR);
    if (c >= 0)
        textout_ex(alone, library_font, t, 0, 0, c, -1);
    int left = centre ? x - alone->w / 2 : x, wrong = 0;
    for (int i = 0; i < alone->w * 8; i++)
        wrong += getpixel(text_layer, left + i % alone->w, y + i / alone->w) !=
                 getpixel(alone, i % alone->w, i / alone->w);
    destroy_bitmap(alone);
    return wrong == 0;
}

// Each text in its place and colour, printed as it stands ("%" too) in the library's own font (an
// ASCII board as it always was), or no pixel of it where its flag is off (the intro's title covers
// the question's place); the icons, used marks, title and exit button on odd-sized pictures
// (centred); the scene differs from the background exactly under the boxes, buttons and marker.
TEST(Screen, TextAndPanelLayers) {
    ASSERT_EQ(load_test_images({61, 84, 201, 101}), 0);
    shown_question = {"%s%n%d", "druhy riadok", {"tri", "%d%%%s", "", "X"}};
    const int cases[][5] = {{TEXT_QUESTION, 0, 1, 0, 1},
                            {TEXT_QUESTION, 1, 2, PANEL_CONFIRM, 7},
                            {0, 2, 1, PANEL_NO_QUESTION | PANEL_CONFIRM, 15},
                            {TEXT_QUESTION | TEXT_PROMPT, 4, 2, PANEL_NO_QUESTION, 0},
                            {TEXT_INTRO, 7, 1, 0, 5},
                            {0, 7, 1, 0, 10}};
    BITMAP *one = create_bitmap(1, 1);
    auto at = [](int x, int y) { return getpixel(text_layer, x, y); };
    for (const auto &[text, used, lines, panel, at_level] : cases) {
        SCOPED_TRACE(text * 100 + panel * 10 + used);
        lifelines_used = used, question_lines = lines, level = at_level;
        draw_text_layer(text);
        draw_panel_layer(panel);
        const int q = text & TEXT_QUESTION ? 1 : -1, p = text & TEXT_PROMPT ? 1 : -1;
        for (int s = 0; s < 4; s++)
            EXPECT_TRUE(
                shows(std::string(1, 'A' + s).append(":").c_str(), ANSWER_X[s] + 18,
                      ANSWER_Y[s] + 7, q * ORANGE) &&
                shows(shown_question.answer_text[s], ANSWER_X[s] + 42, ANSWER_Y[s] + 7, q * WHITE));
        EXPECT_TRUE(text == TEXT_INTRO ||
                    (lines == 2 ? shows("%s%n%d", 245, 268, q * WHITE, true) &&
                                      shows("druhy riadok", 245, 284, q * WHITE, true)
                                : shows("%s%n%d", 245, 276, q * WHITE, true)));
        EXPECT_TRUE(shows("Si si isty?", 250, 160, p * WHITE, true) &&
                    shows("ANO", 210, 180, p * WHITE, true) &&
                    shows("NIE", 290, 180, p * WHITE, true));
        EXPECT_TRUE(shows("ESC to exit | click to continue", 347, 450,
                          text & TEXT_INTRO ? rgb(0, 64, 128) : -1, true));
        for (int row = 1; row <= 15; row++) {
            char line[20];
            std::snprintf(line, sizeof line, "%4d%11s", row, level_titles[row]);
            EXPECT_TRUE(shows(line, 500, 480 - 30 * row, row % 5 ? WHITE : ORANGE)) << row;
        }
        for (int k = 0; k < 3; k++) { // sheet rows red, green, blue; the used mark white
            int x = 110 + 140 * k - 30, row = 0xC80000 >> 8 * k, intro = text == TEXT_INTRO;
            EXPECT_EQ(at(x, 30), intro ? MASK_COLOR : used >> k & 1 ? WHITE : row);
            EXPECT_EQ(at(x + 60, 50), intro ? MASK_COLOR : row) << k;
        }
        EXPECT_EQ(at(149, 189) == 0x5A1E78 && at(148, 189) == MASK_COLOR, text == TEXT_INTRO);
        EXPECT_EQ(at(40, 420) == 0xDC7828 && at(99, 449) == 0xDC7828, text != TEXT_INTRO);
        auto differs = [](int x, int y) {
            return getpixel(scene_layer, x, y) != getpixel(background_image, x, y);
        };
        const int tip = 483 - 30 * at_level; // the marker's left tip at x 505
        EXPECT_EQ(differs(245, 280) + 2 * differs(140, 335) + 4 * differs(250, 173) +
                      8 * differs(505, tip) + 16 * differs(504, tip) + 32 * differs(5, 5),
                  (panel & PANEL_NO_QUESTION ? 0 : 3) + (panel & PANEL_CONFIRM ? 4 : 0) +
                      (at_level ? 8 : 0));
        putpixel(one, 0, 0, getpixel(background_image, 245, 280)); // the box laid on at 0.75
        blend_translucent(question_box, one, 205, 25, 0, 0, 1, 1, 0.75f);
        EXPECT_TRUE(panel & PANEL_NO_QUESTION ||
                    getpixel(scene_layer, 245, 280) == getpixel(one, 0, 0));
    }
    destroy_bitmap(one);
}

// Each frame: the board, the box titled level - 1 blended at opacity(n) / 100, the pointer where
// the mouse was; then all as before. The banner fades in over 101 frames, out over 100, whatever
// the input; the final screen fades in, waits for a fresh press of any button or of Space or
// Enter (not one held since the fade-in), fades out. Each pause ends a fixed time after the one
// before, however long the frame took: the banner lasts 200 x 5 ms, and frames of 7 ms leave
// steps out so that it still does, within two frames; the final screen 101 x 5 ms, then 100 x
// 1 ms from the press, whatever its waiting frames took. With --pokojne (calm) the frames are the
// same, the waiting ones (nearly all) a display frame apart.
TEST(Screen, AnimationFrames) {
    ASSERT_EQ(load_test_images(), 0);
    const int runs[][4] = {{0, 500, 0, 0},         {0, 7000, 0, 0},        {1, 500, 0, 0},
                           {1, 500, KEY_SPACE, 0}, {1, 500, KEY_ENTER, 0}, {1, 500, 0, 1}};
    for (const auto &[final, cost, leave, calm] : runs) { // cost: the microseconds a frame takes
        script_reset();
        choose_run_settings({}, {-1, -1, calm});
        for (int n = 1; !final && n <= 200; n++) // the pointer over and around the banner
            script_hold({(n * 7) % 600, 380 + (n * 13) % 90, n % 2, n % 3 == 0}, 1);
        if (final) {
            script_hold({10, 20, 0, 0}, 5);
            script_click(300, 230);                    // a click in the fade-in: not taken
            script_hold({300, 230, 1, 0, leave}, 100); // a press (or key) held past it: not taken
            script_hold({0, 0, 0, 1}, 40);             // Escape alone: not taken
            script_hold({5, 400, leave ? 0 : 2, 1, leave}, 300); // the right button or key is
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
        textout_centre_ex(banner, library_font, level_titles[level - 1], 125, 21, WHITE, -1);
        int wrong = 0, px = mouse_x, py = mouse_y;
        per_frame_agent = [&, cost = cost] {
            int n = frames_shown, opacity = std::min({n - 1, 100, count + 1 - n});
            blit(board, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
            blend_translucent(banner, want, 0, 0, 125, y, 250, 50, (float)(opacity / 100.0));
            draw_sprite(want, cursor_image, px, py);
            wrong += cost < 5000 && (n > count || count_differences(screen, want) != 0);
            px = mouse_x, py = mouse_y, test_clock += cost;
        };
        long long start = test_clock;
        (final ? show_final_screen : show_level_banner)();
        long long took = test_clock - start;
        EXPECT_TRUE((cost < 5000 ? frames_shown == count : frames_shown < count) && wrong == 0)
            << final << leave << ": " << wrong;
        EXPECT_TRUE(calm    ? took > 605000 + 40 * 1000000 / 60 // the 49 waiting frames rest
                    : final ? took == 605000 + (count - 201) * cost
                            : took >= 1000000 && took < 1000000 + 2 * cost)
            << took;
        blit(scene_layer, want, 0, 0, 0, 0, FRAME_W, FRAME_H);
        draw_sprite(want, text_layer, 0, 0);
        EXPECT_TRUE(count_differences(want, board) == 0 && _textmode == MASK_COLOR) << final;
        for (BITMAP *b : {board, want, banner})
            destroy_bitmap(b);
    }
}

// --pokojne only rests between frames: a game from the intro through a banner to the final
// screen shows the same frames, in the same order, with it as without it.
TEST(Screen, CalmGameShowsTheSameFrames) {
    unsigned long long digests[2]; // of every frame shown, in order: a frame more or less differs
    for (int calm : {0, 1}) {
        ASSERT_EQ(headless_load(game_folder().c_str()), 0);
        script_reset();
        srand(5), choose_run_settings({}, {-1, -1, calm}), digest_frames = true;
        EXPECT_TRUE(play_words("go right right wrong end") == 1 && frames_shown > 1000);
        digests[calm] = frames_digest, digest_frames = false;
    }
    EXPECT_EQ(digests[0], digests[1]);
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
TEST(Screen, ClickAreasOfWideSheets) {
    const int probes[][4] = {{140, 180, 35, 6}, {140, 181, 35, 7}, {140, 321, 35, 8},
                             {160, 185, 35, 6}, {160, 325, 35, 7}, {160, 470, 50, 8}};
    for (const auto &p : probes) {
        ASSERT_EQ(load_test_images({p[0]}), 0);
        EXPECT_EQ(hit_test(p[1], p[2]), p[3]) << p[0] << ": " << p[1] << "," << p[2];
    }
}

// The glyph of one character (UTF-8) in a font, a byte a row, the leftmost pixel the top bit.
static std::array<int, 8> glyph(FONT *f, const char *c) {
    static BITMAP *cell = create_bitmap(8, 8);
    clear_to_color(cell, 0);
    textout_ex(cell, f, c, 0, 0, WHITE, -1);
    std::array<int, 8> rows{};
    for (int i = 0; i < 64; i++)
        rows[i / 8] |= (getpixel(cell, i % 8, i / 8) == WHITE) << (7 - i % 8);
    return rows;
}

// The game draws in its font, whose ASCII glyphs are the library's. Each accented capital differs
// from its lower-case letter and is the library's capital less one row, in rows 1 to 6 under its
// accent (Ľ: the whole L, its caron beside). Quotes, dashes and the ellipsis are drawn (not as
// "^"), the no-break space as a space.
TEST(Screen, GameFont) {
    ASSERT_EQ(load_test_images(), 0);
    ASSERT_EQ(font, game_font());
    for (char c[2] = {' ', 0}; c[0] < 127; c[0]++)
        EXPECT_EQ(glyph(font, c), glyph(library_font, c)) << c;
    for (std::string l :
         {"ÁáA", "ÄäA", "ČčC", "ĎďD", "ÉéE", "ĚěE", "ÍíI", "ĹĺL", "ĽľL", "ŇňN", "ÓóO",
          "ÔôO", "ÖöO", "ŔŕR", "ŘřR", "ŠšS", "ŤťT", "ÚúU", "ŮůU", "ÜüU", "ÝýY", "ŽžZ"}) {
        std::array<int, 8> g = glyph(font, l.substr(0, 2).c_str()),
                           p = glyph(library_font, l.substr(4).c_str());
        bool shortened = false;
        for (int out = 0; out < 7; out++) { // the row of the plain capital left out
            bool holds = g[0] && !g[7];
            for (int y = 1; y < 7; y++)
                holds &= (g[y] | p[y - 1 + (y > out)]) == g[y];
            shortened |= holds;
        }
        EXPECT_TRUE(shortened && g != glyph(font, l.substr(2, 2).c_str())) << l;
    }
    for (const char *mark : {"„", "“", "”", "‚", "‘", "’", "–", "—", "…"})
        EXPECT_NE(glyph(font, mark), glyph(library_font, "^")) << mark;
    EXPECT_EQ(glyph(font, "\u00A0"), glyph(font, " "));
}
