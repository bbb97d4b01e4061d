// Panel layer: the translucent question box, answer buttons, confirmation box and ladder
// marker, blended over the background into the scene layer.
#include "game/game.h"
#include "gfx/gfx.h"
#include "questions/questions.h"

static const int QUESTION_BOX_X = 40, QUESTION_BOX_Y = 255;
static const int CONFIRM_BOX_Y = 153;

// Where the last call drew on the panel layer; load_resources leaves the rest of it clear. The
// pieces never overlap, and elsewhere the scene is the background itself.
static DrawnPlaces drawn;

// What each drawn place shows: the art it was copied from and that art's row, or for the
// marker no art and the level.
struct Look {
    BITMAP *art;
    int row;
};
static Look looks[sizeof drawn.at / sizeof drawn.at[0]];

// A look blended over the background at its place, kept: the art and the background never
// change once loaded, so each look is blended once, not on every response.
struct Patch {
    Look look;
    DrawnPlaces::Place at;
    BITMAP *blended;
};
static Patch patches[64];
static int patch_count;

// scene_layer holds the background wherever no piece was drawn last: only the places drawn
// last need the background back. False until a whole scene was composed since the load.
static bool scene_composed;

void forget_panel_patches(void) {
    for (int i = 0; i < patch_count; i++)
        destroy_bitmap(patches[i].blended);
    patch_count = 0;
    scene_composed = false;
}

// The background back on the scene where the last call laid pieces, or everywhere the first time.
static void restore_background(void) {
    if (!scene_composed) {
        blit(background_image, scene_layer, 0, 0, 0, 0, FRAME_W, FRAME_H);
        scene_composed = true;
        return;
    }
    for (int i = 0; i < drawn.count; i++) {
        const DrawnPlaces::Place &p = drawn.at[i];
        blit(background_image, scene_layer, p.x, p.y, p.x, p.y, p.w, p.h);
    }
}

static void note_look(BITMAP *art, int row, int x, int y, int w, int h) {
    int before = drawn.count;
    note_drawn(drawn, x, y, w, h);
    if (drawn.count == before + 1)
        looks[before] = {art, row};
    else if (drawn.count == 1) // out of room: the whole frame, of no one look
        looks[0] = {nullptr, -1};
}

// The place's look blended over the background: from the kept patches, else blended now and
// kept. Null when no bitmap could be made, or no room is left to keep one.
static BITMAP *patch_for(const Look &look, const DrawnPlaces::Place &at) {
    for (int i = 0; i < patch_count; i++) {
        const Patch &p = patches[i];
        if (p.look.art == look.art && p.look.row == look.row && p.at.x == at.x && p.at.y == at.y &&
            p.at.w == at.w && p.at.h == at.h)
            return p.blended;
    }
    if (patch_count == (int)(sizeof patches / sizeof patches[0]))
        return nullptr;
    BITMAP *b = create_bitmap_ex(32, at.w, at.h);
    if (!b)
        return nullptr;
    blit(background_image, b, at.x, at.y, 0, 0, at.w, at.h);
    blend_translucent(panel_layer, b, at.x, at.y, 0, 0, at.w, at.h, 0.75f);
    patches[patch_count++] = {look, at, b};
    return b;
}

// Lays the place's look over the scene, which holds the background there.
static void blend_place(int i) {
    const DrawnPlaces::Place &p = drawn.at[i];
    if (BITMAP *b = looks[i].row >= 0 ? patch_for(looks[i], p) : nullptr)
        blit(b, scene_layer, 0, 0, p.x, p.y, p.w, p.h);
    else
        blend_translucent(panel_layer, scene_layer, p.x, p.y, p.x, p.y, p.w, p.h, 0.75f);
}

// Copies a whole piece of art onto the panel layer.
static void place(BITMAP *piece, int x, int y) {
    blit(piece, panel_layer, 0, 0, x, y, piece->w, piece->h);
    note_look(piece, 0, x, y, piece->w, piece->h);
}

// Each button shows the row of the answer sheet that matches its slot's look.
static void draw_answer_buttons(void) {
    for (int slot = 0; slot < 4; slot++) {
        blit(answer_sheet, panel_layer, 0, BUTTON_H * answer_state[slot], ANSWER_X[slot],
             ANSWER_Y[slot], BUTTON_W, BUTTON_H);
        note_look(answer_sheet, answer_state[slot], ANSWER_X[slot], ANSWER_Y[slot], BUTTON_W,
                  BUTTON_H);
    }
}

// A box with pointed ends framing the ladder row of this level: 4 pixels above its text and 3
// below, the points reaching x 505 and 635.
static void draw_ladder_marker(int row) {
    int y0 = ladder_row_y(row), colour = makecol(0, 128, 128);
    rectfill(panel_layer, 512, y0 - 4, 628, y0 + 10, colour);
    triangle(panel_layer, 512, y0 - 4, 512, y0 + 10, 505, y0 + 3, colour);
    triangle(panel_layer, 628, y0 - 4, 628, y0 + 10, 635, y0 + 3, colour);
    note_look(nullptr, row, 505, y0 - 4, 131, 15); // the marker of level 16 stands partly above
}

void draw_panel_layer(int flags) {
    restore_background();
    clear_drawn(panel_layer, drawn);
    if (!(flags & PANEL_NO_QUESTION)) {
        place(question_box, QUESTION_BOX_X, QUESTION_BOX_Y);
        draw_answer_buttons();
    }
    if (flags & PANEL_CONFIRM)
        place(confirm_box, (PLAY_W - confirm_box->w) / 2, CONFIRM_BOX_Y);
    if (level != 0)
        draw_ladder_marker(level);
    for (int i = 0; i < drawn.count; i++)
        blend_place(i);
    layers_changed();
}
