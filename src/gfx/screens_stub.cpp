// Placeholder screens until the panel, text layer and banners land.
#include "gfx/gfx.h"

void draw_panel_layer(int) {
    blit(background_image, scene_layer, 0, 0, 0, 0, FRAME_W, FRAME_H);
}

void draw_text_layer(int) {
    clear_to_color(text_layer, MASK_COLOR);
}

void show_level_banner(void) {
}

void show_final_screen(void) {
}
