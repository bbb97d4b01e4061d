// Sound: each moment of a game asks for its effect on its frame and no frame of the game
// changes; missing or unreadable files leave a silent game; the generated files are clean.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "app/app.h"
#include "game/game.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "questions/questions.h"
#include "sound/sound.h"

using Played = std::vector<std::pair<int, int>>; // effect, frames shown when it was asked for
static Played played;

// One answer confirmed (after what is left of the script): the prompt sounds on the frame of the
// press on the answer, the tension on the press on "ANO", the verdict and the next sound once the
// blink's 180 frames are over; then the banner takes its 200 frames, or the final screen its 101 +
// 1 still + 100.
static void answer(int slot, int last_effect) {
    int f = frames_shown() + script_frames_left(), before = played.size();
    int verdict = slot == correct_slot ? EFFECT_RIGHT : EFFECT_WRONG;
    script_click_area(slot);
    script_click_area(AREA_ANO);
    int over = play_turn();
    Played want = {{EFFECT_PROMPT, f + 2},
                   {EFFECT_TENSION, f + 6},
                   {verdict, f + 186},
                   {last_effect, f + 186}};
    EXPECT_EQ(Played(played.begin() + before, played.end()), want);
    EXPECT_EQ(frames_shown() - f, 186 + (over ? 202 : 200));
}

static void climb_to(int question) {
    while (level < question)
        answer(correct_slot, level % 5 ? EFFECT_LEVEL_UP : EFFECT_SAFE_ROW);
}

// Three games from one folder, meeting every moment: lifelines, "NIE", a climb past the safe
// row 5 and a wrong answer; a win of all fifteen; walking away at once. With hold_m, M is held
// over the first intro (muting) and the last (unmuting). Returns the effects and frames.
static Played three_games(const std::string &folder, bool hold_m) {
    EXPECT_EQ(headless_load(folder.c_str()), 0);
    start_sound(0);
    script_reset();
    srand(7);
    played.clear();
    effect_hook = [](int e) { played.push_back({e, frames_shown()}); };
    for (int game = 0; game < 3; game++) {
        watch_start();
        key[KEY_M] = hold_m && game != 1;
        script_click(470, 10);
        new_game();
        key[KEY_M] = 0;
        EXPECT_EQ(sound_muted, hold_m && game < 2);
        if (game == 0) {
            for (int area :
                 {(int)AREA_FIFTY, (int)AREA_SWITCH, (int)AREA_THIRD, correct_slot, (int)AREA_NIE})
                script_click_area(area);
            for (int turn = 0; turn < 4; turn++)
                EXPECT_EQ(play_turn(), 0);
            climb_to(6);
            answer((correct_slot + 1) % 4, EFFECT_GAME_OVER);
        } else if (game == 1) {
            climb_to(15);
            answer(correct_slot, EFFECT_WIN);
        } else {
            script_click_area(AREA_EXIT);
            EXPECT_EQ(play_turn(), 1);
        }
    }
    effect_hook = nullptr;
    played.push_back({-1, frames_shown()});
    return played;
}

// Every moment sounds once per meeting, in the order of play (the frames are checked above),
// M never counts as a click, and without the files (missing, or not sound at all) the same
// games show the same frames with nothing loaded to play.
TEST(Sound, EveryMomentOnItsFrameAndSilentWithoutFiles) {
    Played heard = three_games(make_game_folder(), true);
    EXPECT_EQ(effects_loaded(), EFFECT_COUNT);
    std::string five = "PTRLPTRLPTRLPTRLPTRB"; // prompt, tension, right, banner; safe at row 5
    std::string want = "I5S3P" + five +
                       "PTWG"
                       "I" +
                       five + five +
                       "PTRLPTRLPTRLPTRLPTRV"
                       "IG";
    std::string got;
    for (auto [effect, frame] : heard)
        if (effect >= 0)
            got += "IPTRW5S3LBVG"[effect];
    EXPECT_EQ(got, want);
    std::vector<std::string> wavs(EFFECT_FILES, EFFECT_FILES + EFFECT_COUNT);
    std::string unreadable = make_game_folder();
    for (int e = 0; e < EFFECT_COUNT; e++)
        std::ofstream(unreadable + "/" + wavs[e], std::ios::trunc) << (e % 2 ? "RIFF" : "MThd....");
    for (const std::string &folder : {make_game_folder(wavs), unreadable}) {
        EXPECT_EQ(three_games(folder, false), heard) << folder;
        EXPECT_EQ(effects_loaded(), 0) << folder;
    }
}
