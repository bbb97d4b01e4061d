// Sound: each moment of a game asks for its effect on its frame and no frame of the game
// changes; missing or unreadable files leave a silent game; the generated files are clean.
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include "app/app.h"
#include "game/game.h"
#include "harness/game_watch.h"
#include "harness/harness.h"
#include "questions/questions.h"
#include "sound/sound.h"

using Played = std::vector<std::pair<int, int>>; // effect, frames shown when it was asked for
static Played played;

// One answer confirmed after what is left of the script: the prompt sounds on the press on the
// answer, the tension on the press on "ANO", the verdict and the next sound after the blink's
// 180 frames; then the banner takes 200 frames, the final screen 101 + 1 still + 100.
static void answer(int slot, int next) {
    int f = frames_shown() + script_frames_left(), before = played.size();
    Played want = {{EFFECT_PROMPT, f + 2}, {EFFECT_TENSION, f + 6}};
    want.push_back({slot == correct_slot ? EFFECT_RIGHT : EFFECT_WRONG, f + 186});
    want.push_back({next, f + 186});
    script_click_area(slot);
    script_click_area(AREA_ANO);
    int over = play_turn();
    EXPECT_EQ(Played(played.begin() + before, played.end()), want);
    EXPECT_EQ(frames_shown() - f, 186 + (over ? 202 : 200));
}

// Three games meeting every moment: lifelines, "NIE", a climb past the safe row 5, a wrong
// answer; a win of all fifteen; walking away. With hold_m, M is held over the first intro
// (muting) and the last (unmuting). Returns the effects and frames.
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
        if (game == 0)
            for (int area : {+AREA_FIFTY, +AREA_SWITCH, +AREA_THIRD, correct_slot, +AREA_NIE})
                script_click_area(area);
        if (game == 2)
            script_click_area(AREA_EXIT);
        for (int turn = 0; turn < (game == 0 ? 4 : game / 2); turn++)
            EXPECT_EQ(play_turn(), game == 2);
        while (game < 2 && level < (game == 0 ? 6 : 15))
            answer(correct_slot, level % 5 ? EFFECT_LEVEL_UP : EFFECT_SAFE_ROW);
        if (game < 2)
            answer((correct_slot + 1 - game) % 4, game ? EFFECT_WIN : EFFECT_GAME_OVER);
    }
    effect_hook = nullptr;
    played.push_back({-1, frames_shown()});
    return played;
}

// Every moment sounds once per meeting, in the order of play, M never counts as a click, and
// without the files (missing, or not sound) the same games show the same frames, silently.
TEST(Sound, EveryMomentOnItsFrameAndSilentWithoutFiles) {
    Played heard = three_games(make_game_folder(), true);
    EXPECT_EQ(effects_loaded(), EFFECT_COUNT);
    std::string five = "PTRLPTRLPTRLPTRLPTRB"; // prompt, tension, right, banner; safe at row 5
    std::string want = "I5S3P" + five + "PTWGI" + five + five + "PTRLPTRLPTRLPTRLPTRVIG.", got;
    for (auto [effect, frame] : heard)
        got += effect >= 0 ? "IPTRW5S3LBVG"[effect] : '.';
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

// Each committed effect is what the generator writes again, byte for byte, 8-bit mono at
// 22050 Hz; it peaks at or below -1 dBFS; it starts and ends on silence, under a quarter of its
// peak over the first and last 2 ms of its sounding part (from the first to the last sample at
// -40 dBFS or more), whose RMS lies within 3 dB of every other's. The tension fits in 1.8 s.
TEST(Sound, GeneratedEffectsAreCleanAndBalanced) {
    headless_init();
    std::string again = std::string(REBRIK_BUILD_DIR) + "/sfx-again", data = REBRIK_DATA_DIR;
    ASSERT_EQ(
        std::system(("mkdir -p " + again + " && " + again + "/../rebrik-sfxgen " + again).c_str()),
        0);
    double quietest = 0, loudest = -99;
    for (int e = 0; e < EFFECT_COUNT; e++) {
        std::string name = std::string("/") + EFFECT_FILES[e];
        EXPECT_EQ(std::system(("cmp " + again + name + " " + data + name).c_str()), 0);
        SAMPLE *s = load_sample((data + name).c_str());
        ASSERT_TRUE(s && s->bits == 8 && !s->stereo && s->freq == 22050) << name;
        std::vector<double> x;
        for (unsigned i = 0; i < s->len; i++)
            x.push_back((((unsigned char *)s->data)[i] - 128) / 128.0);
        double peak = 0, sum = 0, edge = 0;
        size_t a = x.size(), b = 0;
        for (size_t i = 0; i < x.size(); i++) {
            peak = std::max(peak, std::fabs(x[i]));
            if (std::fabs(x[i]) >= 0.01)
                a = std::min(a, i), b = i;
        }
        for (size_t i = 0; i < 44; i++)
            edge = std::max({edge, std::fabs(x[a + i]), std::fabs(x[b - i])});
        for (size_t i = a; i <= b; i++)
            sum += x[i] * x[i];
        double rms = 20 * std::log10(std::sqrt(sum / (b - a + 1)));
        quietest = std::min(quietest, rms), loudest = std::max(loudest, rms);
        EXPECT_LE(20 * std::log10(peak), -1.0) << name;
        EXPECT_TRUE(x.front() == 0 && x.back() == 0 && edge < peak / 4) << name << edge / peak;
        EXPECT_TRUE(e != EFFECT_TENSION || x.size() < 1.8 * 22050);
        destroy_sample(s);
    }
    EXPECT_LE(loudest - quietest, 3.0);
}
