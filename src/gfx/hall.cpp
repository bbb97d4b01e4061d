// The hall of fame: the player's best games and statistics as lines of text on a translucent
// blue board over the background, in the font and colours of the game.
#include <algorithm>
#include "gfx/gfx.h"

// The board's width and margin; lines are 16 pixels apart, and the board, as high as its lines
// need, stands in the middle of the frame.
static const int BOARD_X = 60, BOARD_W = 520, MARGIN = 24, LINE_STEP = 16;

// The hall's frame without the pointer, while it is open; null when it could not be made.
static BITMAP *hall;
// The first frame is copied whole; later ones only where the pointer was and is.
static bool hall_shown;

// The translucent board: a blue block and an orange frame, blended as the panels are.
static void draw_board(BITMAP *b, int y, int h) {
    BITMAP *board = create_bitmap_ex(32, BOARD_W, h);
    if (!board)
        return;
    clear_to_color(board, makecol(0, 40, 100));
    rect(board, 0, 0, BOARD_W - 1, h - 1, makecol(255, 192, 0));
    blend_translucent(board, b, 0, 0, BOARD_X, y, BOARD_W, h, 0.75f);
    destroy_bitmap(board);
}

// The first line is the heading, in orange; the others in white, left-aligned as one block
// centred on the board.
static void draw_lines(BITMAP *b, const std::vector<std::string> &lines, int top) {
    int widest = 0;
    for (size_t i = 1; i < lines.size(); i++)
        widest = std::max(widest, text_length(font, lines[i].c_str()));
    int left = BOARD_X + (BOARD_W - widest) / 2;
    textprintf_centre_ex(b, font, FRAME_W / 2, top, makecol(255, 192, 0), -1, "%s",
                         lines.empty() ? "" : lines[0].c_str());
    for (size_t i = 1; i < lines.size(); i++)
        textprintf_ex(b, font, left, top + LINE_STEP * (int)i, makecol(255, 255, 255), -1, "%s",
                      lines[i].c_str());
}

void open_hall_of_fame(const std::vector<std::string> &lines) {
    hall = create_bitmap_ex(32, FRAME_W, FRAME_H);
    hall_shown = false;
    if (!hall)
        return;
    int h = 2 * MARGIN + LINE_STEP * ((int)lines.size() - 1) + 8, y = (FRAME_H - h) / 2;
    blit(background_image, hall, 0, 0, 0, 0, FRAME_W, FRAME_H);
    draw_board(hall, y, h);
    draw_lines(hall, lines, y + MARGIN);
}

void hall_of_fame_frame(void) {
    if (!hall) {
        present_frame();
        return;
    }
    if (!hall_shown) {
        blit(hall, back_buffer, 0, 0, 0, 0, FRAME_W, FRAME_H);
        finish_frame();
        hall_shown = true;
        return;
    }
    blit(hall, back_buffer, pointer_drawn_x, pointer_drawn_y, pointer_drawn_x, pointer_drawn_y,
         cursor_image->w, cursor_image->h);
    finish_frame_part(0, 0, 0, 0);
}

void close_hall_of_fame(void) {
    if (hall)
        destroy_bitmap(hall);
    hall = nullptr;
    layers_changed();
}
