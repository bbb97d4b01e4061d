// Panel layer: the translucent question box, answer buttons, confirmation box and ladder
// marker, blended over the background into the scene layer.
#include "game/game.h"
#include "gfx/gfx.h"
#include "questions/questions.h"

static const int QUESTION_BOX_X = 40, QUESTION_BOX_Y = 255;
static const int CONFIRM_BOX_Y = 153;

// Where the last call drew on the panel layer; all else on it is MASK_COLOR, as load_resources
// leaves it. So only these places need clearing, and only they blending: elsewhere the scene is
// the background itself. The pieces never overlap, so none is blended twice.
struct Place {
    int x, y, w, h;
};
static Place drawn[8];
static int drawn_count;

// Notes a place, cut to the layer (the marker of level 16 stands partly above it).
static void note_drawn(int x, int y, int w, int h) {
    int top = y < 0 ? 0 : y, bottom = y + h > FRAME_H ? FRAME_H : y + h;
    if (bottom > top)
        drawn[drawn_count++] = {x, top, w, bottom - top};
}

// Copies a whole piece of art onto the panel layer.
static void place(BITMAP *piece, int x, int y) {
    blit(piece, panel_layer, 0, 0, x, y, piece->w, piece->h);
    note_drawn(x, y, piece->w, piece->h);
}

// Each button shows the row of the answer sheet that matches its slot's look.
static void draw_answer_buttons(void) {
    for (int slot = 0; slot < 4; slot++) {
        blit(answer_sheet, panel_layer, 0, BUTTON_H * answer_state[slot], ANSWER_X[slot],
             ANSWER_Y[slot], BUTTON_W, BUTTON_H);
        note_drawn(ANSWER_X[slot], ANSWER_Y[slot], BUTTON_W, BUTTON_H);
    }
}

// A box with pointed ends framing the ladder row of this level: 4 pixels above its text and 3
// below, the points reaching x 505 and 635.
static void draw_ladder_marker(int row) {
    int y0 = ladder_row_y(row), colour = makecol(0, 128, 128);
    rectfill(panel_layer, 512, y0 - 4, 628, y0 + 10, colour);
    triangle(panel_layer, 512, y0 - 4, 512, y0 + 10, 505, y0 + 3, colour);
    triangle(panel_layer, 628, y0 - 4, 628, y0 + 10, 635, y0 + 3, colour);
    note_drawn(505, y0 - 4, 131, 15);
}

void draw_panel_layer(int flags) {
    for (int i = 0; i < drawn_count; i++)
        rectfill(panel_layer, drawn[i].x, drawn[i].y, drawn[i].x + drawn[i].w - 1,
                 drawn[i].y + drawn[i].h - 1, MASK_COLOR);
    drawn_count = 0;
    if (!(flags & PANEL_NO_QUESTION)) {
        place(question_box, QUESTION_BOX_X, QUESTION_BOX_Y);
        draw_answer_buttons();
    }
    if (flags & PANEL_CONFIRM)
        place(confirm_box, (PLAY_W - confirm_box->w) / 2, CONFIRM_BOX_Y);
    if (level != 0)
        draw_ladder_marker(level);
    blit(background_image, scene_layer, 0, 0, 0, 0, FRAME_W, FRAME_H);
    for (int i = 0; i < drawn_count; i++)
        blend_translucent(panel_layer, scene_layer, drawn[i].x, drawn[i].y, drawn[i].x, drawn[i].y,
                          drawn[i].w, drawn[i].h, 0.75f);
    layers_changed();
}
