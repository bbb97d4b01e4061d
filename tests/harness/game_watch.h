// Watches the frames of a headless game: which level banners and final screens showed, with
// which title and with which ladder row marked, and dismisses each final screen with a click.
#pragma once
#include <string>
#include <vector>

struct GameWatch {
    std::vector<std::string> banners; // title of each level banner, seen at full opacity
    std::vector<std::string> finals;  // title of each final screen, seen at full opacity
    std::vector<int> final_marks;     // ladder row marked under each final screen (0: none)
    std::vector<int> tier_at_banner;  // first letter of the loaded tier's first question
    int intros = 0;                   // intro screens seen (the hint line on the screen)
    bool escape_at_intro = false;     // hold Escape once an intro is seen, from the second on
};

extern GameWatch watch;

// Clears the record and sets the per-frame agent that fills it.
void watch_start(void);

// The ladder row marked on the scene layer now, 0 for none.
int marked_row(void);

// Copies the test banks and the bundled pictures into a fresh folder and loads from it; the
// folder is returned. Files named in skip are left out.
std::string make_game_folder(const std::vector<std::string> &skip = {});
