// Presentation: layers, frame composition, loaded and generated art, the panel and text
// layers and the two banner animations. What other subsystems may use of it.
#pragma once
#include <allegro.h>
#include <climits>
#include <string>
#include <vector>

// The transparent colour: pure magenta in the 32-bit screen format.
#define MASK_COLOR MASK_COLOR_32

// The four 640x480 layers a frame is built from.
extern BITMAP *back_buffer;
extern BITMAP *scene_layer;
extern BITMAP *text_layer;
extern BITMAP *panel_layer;

// Images read from the working directory.
extern BITMAP *cursor_image;
extern BITMAP *background_image;
extern BITMAP *lifeline_sheet;
extern BITMAP *title_image;
extern BITMAP *exit_button;

// Art cut or generated at start.
extern BITMAP *used_mark;
extern BITMAP *answer_sheet;
extern BITMAP *confirm_box;
extern BITMAP *question_box;
extern BITMAP *banner_box;
extern BITMAP *final_box;

// Called after every frame, shown or not: the one effect of presenting a frame besides drawing
// it. The shell sets it to its work once per frame (its keys, a pending quit, the tests' hook).
extern void (*frame_shown_hook)(void);

// Draws the pointer on the back buffer and copies it whole to the screen: the last two steps
// of every frame the game shows.
void finish_frame(void);

// Like finish_frame, but copies to the screen only the w x h block at (x, y) and the pointer's
// old and new places: for a frame that differs from the one before only there.
void finish_frame_part(int x, int y, int w, int h);

// Where the pointer was last drawn on the back buffer (its top-left corner).
extern int pointer_drawn_x, pointer_drawn_y;

// Builds one frame from the layers and the pointer and shows it, copying to the screen only
// what differs from the frame before; then calls frame_shown_hook, as every frame does.
void present_frame(void);

// Tells present_frame that scene_layer or text_layer was redrawn.
void layers_changed(void);

// A short note in the game's look over the top of the play area, NOTE_Y from the top, for
// NOTE_TIME microseconds of pace_clock: the frames shown meanwhile carry it over everything else
// (the pointer too); the first one after it is copied whole, without it.
constexpr int NOTE_Y = 95;
constexpr long long NOTE_TIME = 1000000;
void show_note(const char *text);

// Has the next frame copied to the screen whole, as the system asks when a window lost what it
// showed. Safe from any thread.
void frame_needs_whole_copy(void);

// Where the frame stands on the screen: each frame pixel a scale x scale block, the frame's
// top-left corner at (left, top). A width x height other than the frame's size times scale
// (0 x 0 stands for that size) smooths the enlarged frame to it: the one step that is not exact.
struct View {
    int scale, left, top;
    int width = 0, height = 0;
};

// Sets the view for the frames that follow (the next one, board or not, is copied whole). 1 when
// the scale is over MAX_SCALE, the size smaller than the frame times scale, or the enlarged copies
// of the frame could not be made; the view and its copies are then unchanged.
int set_view(View v);

// A pointer position in frame pixels, and whether the real pointer is in the window at all.
struct FramePoint {
    int x, y;
    bool inside;
};

// The one place screen pointer positions become frame positions: for drawing and for clicks.
FramePoint pointer_in_frame(void);

// Lays a w x h block of src over dst with opacity alpha; MASK_COLOR source pixels are skipped.
void blend_translucent(BITMAP *src, BITMAP *dst, int sx, int sy, int dx, int dy, int w, int h,
                       float alpha);

// Fills the 640x480 layer with MASK_COLOR: clear_to_color at the speed of a vector fill.
void clear_layer(BITMAP *layer);

// The places drawn on a layer since it was last cleared, each cut to the frame; all else on
// the layer is MASK_COLOR. Clearing only them is clearing the whole layer, at a fraction of it.
struct DrawnPlaces {
    struct Place {
        int x, y, w, h;
    } at[48];
    int count;
};

// Notes the w x h place at (x, y); with no room left, notes the whole frame instead.
void note_drawn(DrawnPlaces &places, int x, int y, int w, int h);

// Fills the noted places of layer with MASK_COLOR and forgets them.
void clear_drawn(BITMAP *layer, DrawnPlaces &places);

// The 640x480 layer over laid onto under into dst, as a blit of under and a draw_sprite of over
// would make it (MASK_COLOR pixels of over skipped), in one pass; under may be dst itself.
void masked_copy(BITMAP *under, BITMAP *over, BITMAP *dst);

// Sets the background of text cells: a colour, or -1 for glyph pixels only. Wraps the library's
// text_mode, which it marks deprecated but which still decides how text cells are drawn.
void set_text_background(int mode);

// Loads a picture so that pure magenta is MASK_COLOR, in the 32-bit format; null on failure.
BITMAP *load_image(const char *name);

// Sets the game's font, creates the layers, loads the five images and generates the artwork. 1 if
// an image failed.
int load_resources(void);

// Cuts the centre w x h block of the current gradient scratch into a lozenge at (x, y) on target.
void cut_lozenge(BITMAP *target, int x, int y, int w, int h);

// Where the board's elements stand; the click areas use the same corners.
constexpr int FRAME_W = 640, FRAME_H = 480, PLAY_W = 500;
constexpr int ANSWER_X[4] = {40, 250, 40, 250};
constexpr int ANSWER_Y[4] = {325, 325, 365, 365};
constexpr int BUTTON_W = 200, BUTTON_H = 20;
// An answer's text starts this far into its button.
constexpr int ANSWER_TEXT_DX = 42;
constexpr int LIFELINE_Y = 30;
constexpr int EXIT_X = 40, EXIT_Y = 420;

// The game's font: the library's 8x8 font with glyphs of our own for the accented capitals of
// Slovak and Czech and for „ “ ” ‚ ‘ ’ – — … and the no-break space. load_resources makes it the
// library's `font`; library_font is the library's own, which draws every other character.
FONT *game_font(void);
extern FONT *const library_font;

// Whether the game's font has a glyph for the code point; any other shows as "^".
bool glyph_drawable(int code_point);

// How many characters of the font (8 pixels wide each) fit: a display line of the question in its
// 410-pixel box, an answer on its button from where its text starts to the button's end.
constexpr int QUESTION_BOX_CHARS = 410 / 8;
constexpr int ANSWER_BUTTON_CHARS = (BUTTON_W - ANSWER_TEXT_DX) / 8;

// The largest factor the library can enlarge the frame by: a bitmap's bytes must fit its int.
constexpr int MAX_SCALE = 41;
static_assert(4LL * FRAME_W * FRAME_H * MAX_SCALE * MAX_SCALE <= INT_MAX &&
                  4LL * FRAME_W * FRAME_H * (MAX_SCALE + 1) * (MAX_SCALE + 1) > INT_MAX,
              "MAX_SCALE is the largest factor whose bitmap fits");

// Top of the text of ladder row 1..15: row 1 at the bottom, 30 pixels apart.
constexpr int ladder_row_y(int row) {
    return FRAME_H - 30 * row;
}

// Left edge of lifeline icon k (0..2): the icons are centred on x = 110, 250 and 390.
int lifeline_icon_x(int k);

// Flags of draw_panel_layer.
enum { PANEL_CONFIRM = 1, PANEL_NO_QUESTION = 2 };
// Flags of draw_text_layer.
enum { TEXT_QUESTION = 1, TEXT_PROMPT = 2, TEXT_INTRO = 4 };

// Rebuilds the translucent boxes and composes scene_layer.
void draw_panel_layer(int flags);

// Drops the boxes draw_panel_layer keeps blended over the background: for a new load.
void forget_panel_patches(void);

// Rebuilds the texts and icons on text_layer.
void draw_text_layer(int flags);

// The clock the animations pace their frames by: now on a monotonic clock in microseconds, and
// a wait until a time on it (at once when that time has passed). The steady clock and a sleep by
// default; headless tests, whose library has no timer, put in a clock of their own.
extern long long (*pace_clock)(void);
extern void (*pace_wait_until)(long long due);

// The level-up banner: fades the title of level - 1 in and out at the bottom of the play area.
void show_level_banner(void);

// The final screen over a still of the board: open fades the title kept in; each frame shows it
// at full strength (whole after final_screen_drawn_over, when something else was shown over
// it); close fades it out, its pauses counted from the call. Waiting is the caller's.
void open_final_screen(void);
void final_screen_frame(void);
void final_screen_drawn_over(void);
void close_final_screen(void);

// The hall of fame over the background: open it with its lines (the first is the heading), show
// frames of it while it is open, close it (the next board frame is then drawn whole).
void open_hall_of_fame(const std::vector<std::string> &lines);
void hall_of_fame_frame(void);
void close_hall_of_fame(void);
