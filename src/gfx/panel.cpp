// Panel layer: the translucent question box, answer buttons, confirmation box and ladder
// marker, blended over the background into the scene layer.
#include "game/game.h"
#include "gfx/gfx.h"
#include "questions/questions.h"

static const int QUESTION_BOX_X = 40, QUESTION_BOX_Y = 255;
static const int CONFIRM_BOX_Y = 153;

// Copies a whole piece of art onto the panel layer.
static void place(BITMAP *piece, int x, int y) {
    blit(piece, panel_layer, 0, 0, x, y, piece->w, piece->h);
}

// Each button shows the row of the answer sheet that matches its slot's look.
static void draw_answer_buttons(void) {
    for (int slot = 0; slot < 4; slot++)
        blit(answer_sheet, panel_layer, 0, BUTTON_H * answer_state[slot], ANSWER_X[slot],
             ANSWER_Y[slot], BUTTON_W, BUTTON_H);
}

// A box with pointed ends framing the ladder row of this level: 4 pixels above its text and 3
// below, the points reaching x 505 and 635.
static void draw_ladder_marker(int row) {
    int y0 = ladder_row_y(row), colour = makecol(0, 128, 128);
    rectfill(panel_layer, 512, y0 - 4, 628, y0 + 10, colour);
    triangle(panel_layer, 512, y0 - 4, 512, y0 + 10, 505, y0 + 3, colour);
    triangle(panel_layer, 628, y0 - 4, 628, y0 + 10, 635, y0 + 3, colour);
}

void draw_panel_layer(int flags) {
    clear_to_color(panel_layer, MASK_COLOR);
    if (!(flags & PANEL_NO_QUESTION)) {
        place(question_box, QUESTION_BOX_X, QUESTION_BOX_Y);
        draw_answer_buttons();
    }
    if (flags & PANEL_CONFIRM)
        place(confirm_box, (PLAY_W - confirm_box->w) / 2, CONFIRM_BOX_Y);
    if (level != 0)
        draw_ladder_marker(level);
    blit(background_image, scene_layer, 0, 0, 0, 0, FRAME_W, FRAME_H);
    blend_translucent(panel_layer, scene_layer, 0, 0, 0, 0, FRAME_W, FRAME_H, 0.75f);
    layers_changed();
}
