// Text layer: the question and its answers, the ladder of titles, the confirmation prompt, the
// intro picture with its hint, the lifeline icons with their used marks and the exit button.
#include <cstdio>
#include "game/game.h"
#include "gfx/gfx.h"
#include "questions/questions.h"

// Labels and answer texts sit inside their buttons, at fixed offsets from the button's corner.
static const char *const LABELS[4] = {"A:", "B:", "C:", "D:"};
static const int LABEL_DX = 18, TEXT_DY = 7;

// The question is centred a little left of the play area's middle.
static const int QUESTION_X = 245, ONE_LINE_Y = 276, FIRST_LINE_Y = 268, SECOND_LINE_Y = 284;

struct Caption {
    const char *text;
    int x, y; // centre of the text, top of its cells
};
static const Caption PROMPT[3] = {
    {"Si si isty?", 250, 160},
    {"ANO", 210, 180},
    {"NIE", 290, 180},
};

namespace {
// Which bit of lifelines_used each icon stands for and the sheet row it is cut from.
struct Lifeline {
    int bit, row;
};
} // namespace
static const Lifeline LIFELINES[3] = {
    {LIFELINE_FIFTY, 0}, {LIFELINE_SWITCH, 1}, {LIFELINE_THIRD, 2}};

// Where the last call drew on the text layer; load_resources makes the rest of it clear.
static DrawnPlaces drawn;

// Notes the cells of a line of text written at x (its left edge, or its centre) and y.
static void note_text(int x, int y, const char *text, bool centred) {
    int w = text_length(font, text);
    note_drawn(drawn, centred ? x - w / 2 : x, y, w, text_height(font));
}

static int orange(void) {
    return makecol(255, 192, 0);
}

static int white(void) {
    return makecol(255, 255, 255);
}

// Every text is drawn with the text background in force (_textmode, the value that
// set_text_background last gave), so each character cell is painted whole during play.
static void draw_centred(int x, int y, const char *line) {
    textprintf_centre_ex(text_layer, font, x, y, white(), _textmode, "%s", line);
    note_text(x, y, line, true);
}

static void draw_question_block(void) {
    for (int slot = 0; slot < 4; slot++) {
        textprintf_ex(text_layer, font, ANSWER_X[slot] + LABEL_DX, ANSWER_Y[slot] + TEXT_DY,
                      orange(), _textmode, LABELS[slot]);
        note_text(ANSWER_X[slot] + LABEL_DX, ANSWER_Y[slot] + TEXT_DY, LABELS[slot], false);
    }
    if (question_lines == 1) {
        draw_centred(QUESTION_X, ONE_LINE_Y, shown_question.line1);
    } else {
        draw_centred(QUESTION_X, FIRST_LINE_Y, shown_question.line1);
        draw_centred(QUESTION_X, SECOND_LINE_Y, shown_question.line2);
    }
    for (int slot = 0; slot < 4; slot++) {
        textprintf_ex(text_layer, font, ANSWER_X[slot] + ANSWER_TEXT_DX, ANSWER_Y[slot] + TEXT_DY,
                      white(), _textmode, "%s", shown_question.answer_text[slot]);
        note_text(ANSWER_X[slot] + ANSWER_TEXT_DX, ANSWER_Y[slot] + TEXT_DY,
                  shown_question.answer_text[slot], false);
    }
}

// Rows 1 to 15 of the title table, row 1 at the bottom; the safe rows and the top in orange.
static void draw_ladder(void) {
    for (int row = 15; row >= 1; row--) {
        textprintf_ex(text_layer, font, PLAY_W, ladder_row_y(row), row % 5 ? white() : orange(),
                      _textmode, "%4d%11s", row, level_titles[row]);
        char line[128]; // the titles are ours and far shorter
        std::snprintf(line, sizeof line, "%4d%11s", row, level_titles[row]);
        note_text(PLAY_W, ladder_row_y(row), line, false);
    }
}

static void draw_prompt(void) {
    for (const Caption &c : PROMPT) {
        textprintf_centre_ex(text_layer, font, c.x, c.y, white(), _textmode, c.text);
        note_text(c.x, c.y, c.text, true);
    }
}

// The intro picture centred in the play area, and the hint line over it.
static void draw_intro(void) {
    int x = (PLAY_W - title_image->w) / 2, y = (FRAME_H - title_image->h) / 2;
    draw_sprite(text_layer, title_image, x, y);
    note_drawn(drawn, x, y, title_image->w, title_image->h);
    textprintf_centre_ex(text_layer, font, 347, 450, makecol(0, 64, 128), _textmode,
                         "ESC to exit | click to continue");
    note_text(347, 450, "ESC to exit | click to continue", true);
}

// The three icons copied whole from the sheet, then a used mark over each lifeline spent.
static void draw_lifelines_and_exit(void) {
    int w = lifeline_sheet->w, q = lifeline_sheet->h / 4;
    for (int k = 0; k < 3; k++) {
        blit(lifeline_sheet, text_layer, 0, LIFELINES[k].row * q, lifeline_icon_x(k), LIFELINE_Y, w,
             q);
        note_drawn(drawn, lifeline_icon_x(k), LIFELINE_Y, w, q);
    }
    for (int k = 0; k < 3; k++)
        if (lifelines_used & LIFELINES[k].bit)
            draw_sprite(text_layer, used_mark, lifeline_icon_x(k), LIFELINE_Y);
    blit(exit_button, text_layer, 0, 0, EXIT_X, EXIT_Y, exit_button->w, exit_button->h);
    note_drawn(drawn, EXIT_X, EXIT_Y, exit_button->w, exit_button->h);
}

void draw_text_layer(int flags) {
    clear_drawn(text_layer, drawn);
    if (flags & TEXT_QUESTION)
        draw_question_block();
    draw_ladder();
    if (flags & TEXT_PROMPT)
        draw_prompt();
    if (flags & TEXT_INTRO)
        draw_intro();
    else
        draw_lifelines_and_exit();
    layers_changed();
}
