// The art generator's shared pieces: supersampled canvases, shapes in 1x coordinates, styled
// painting of shapes, block lettering, and the procedures that draw the five pictures.
#pragma once
#include <allegro.h>

// Canvases are drawn this many times larger than the picture and averaged down, so that
// edges inside a picture come out smooth.
constexpr int SS = 4;
constexpr int MASK = MASK_COLOR_32;

struct Pt {
    float x, y;
};
struct Rgb {
    int r, g, b;
};

// A shape: up to 12 corners in picture pixels. ink 0 erases (the hole of an O, say).
struct Shape {
    int ink;
    int n;
    Pt p[12];
};

// How a stencil is painted: a vertical gradient over y0..y1 inside, a bevel of light on its
// upper left edges and shade on its lower right ones, then an outline and a rim around it.
struct Style {
    Rgb top, bottom;
    float y0, y1;
    float bevel;
    Rgb outline;
    float outline_px;
    Rgb rim;
    float rim_px;
};

// Colours.
int rgb_colour(Rgb c);
Rgb mix(Rgb a, Rgb b, float t);

// A w x h picture's supersampled canvas (SS times larger, 32-bit, all MASK) and its stencil
// (8-bit, all 0). Shapes are given in picture pixels and scaled by SS when drawn.
BITMAP *new_canvas(int w, int h);
BITMAP *new_stencil(int w, int h);
void fill_shape(BITMAP *b, const Shape &s, float dx, float dy, float scale, int colour);
void stencil_shapes(BITMAP *stencil, const Shape *shapes, int count, float dx, float dy,
                    float scale);
void stencil_disc(BITMAP *stencil, float cx, float cy, float r);
void stencil_stadium(BITMAP *stencil, float x0, float y0, float x1, float y1);

// Paints the stencil's ink onto the canvas in the given style and clears the stencil.
void paint_stencil(BITMAP *canvas, BITMAP *stencil, const Style &style);

// Averages the canvas down to a 32-bit picture: a pixel less than half covered stays MASK.
// Destroys the canvas.
BITMAP *downsample(BITMAP *canvas);

// Writes b as a 24-bit file dir/name; 0 on success.
int save_picture(BITMAP *b, const char *dir, const char *name);

// Block lettering: the letters and digits of our pictures, 10 units high.
float text_units(const char *text);
void stencil_text(BITMAP *stencil, const char *text, float cx, float top, float unit);

// The five pictures.
BITMAP *draw_pointer(void);
BITMAP *draw_backdrop(void);
BITMAP *draw_lifeline_sheet(void);
BITMAP *draw_title(void);
BITMAP *draw_exit_button(void);

// The setup program's pictures: the side of its first and last pages, and its header.
BITMAP *draw_setup_side(void);
BITMAP *draw_setup_header(void);
