// Sound: each moment's effect on its frame, the same game silent without files, clean files.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include "harness/harness.h"
#include "sound/sound.h"

using Played = std::vector<std::pair<int, int>>; // effect, frames shown when it was asked for
static Played played;

// Two games meeting every moment, each with the lifelines and a "NIE": a climb past the safe row
// 5 and a wrong answer, then a win of all fifteen. An answer sounds on the press on it, then on
// "ANO", twice after the blink's 180 frames; a banner takes 200 frames at the new level, the next
// tier read before the banners of 6 and 11.
static Played two_games(const std::string &folder) {
    EXPECT_EQ(headless_load(folder.c_str()), 0);
    start_sound(0);
    script_reset();
    played.clear();
    effect_hook = [](int e) { played.push_back({e, frames_shown}); };
    for (int game = 0; game < 2; game++) {
        play_words("go");
        for (int area : {+AREA_FIFTY, +AREA_SWITCH, +AREA_THIRD, correct_slot, +AREA_NIE})
            script_click_area(area);
        for (int turn = 0; turn < 4; turn++)
            EXPECT_EQ(play_turn(), 0);
        for (int over = 0; !over;) {
            int f = frames_shown + script_frames_left(), before = played.size();
            over = play_words(game || level < 6 ? "right" : "wrong");
            const Animation &a = animations.back();
            std::string at; // each sound's frame and the animation's start, from the turn's start
            for (size_t i = before; i < played.size(); i++)
                at += std::to_string(played[i].second - f) + " ";
            EXPECT_EQ(at + std::to_string(frames_shown - f - a.frames), "2 6 186 186 186");
            EXPECT_TRUE(over ||
                        (a.frames == 200 && a.level == level && a.tier == "LST"[(level - 1) / 5]));
        }
    }
    return played;
}

// Every moment sounds once per meeting, in the order of play, and without the files (half missing,
// half not sound) the same games show the same frames.
TEST(Sound, EveryMomentOnItsFrameAndSilentWithoutFiles) {
    Played heard = two_games(game_folder());
    std::string five = "PTRLPTRLPTRLPTRLPTRB"; // prompt, tension, right, banner; safe at row 5
    std::string want = "I5S3P" + five + "PTWGI5S3P" + five + five + "PTRLPTRLPTRLPTRLPTRV", got;
    for (auto [effect, frame] : heard)
        got += "IPTRW5S3LBVG"[effect];
    EXPECT_TRUE(got == want && effects_loaded() == EFFECT_COUNT) << got;
    std::string silent = game_folder();
    for (int e = 0; e < EFFECT_COUNT; e++) // each removed, the second half written back as no sound
        if (std::filesystem::remove(silent + "/" + EFFECT_FILES[e]) && e >= EFFECT_COUNT / 2)
            std::ofstream(silent + "/" + EFFECT_FILES[e]) << (e % 2 ? "RIFF" : "MThd....");
    EXPECT_TRUE(two_games(silent) == heard && effects_loaded() == 0);
}

// Each committed effect is 16-bit mono, 22050 Hz, peak -1 dBFS at most, RMS within 1 dB of -14
// dBFS; it begins on a zero and ends in 20 ms of digital zero; it is under a quarter of its peak
// over the first and last 2 ms of its sound (samples of -40 dBFS or more). The tension fits 1.8 s.
TEST(Sound, GeneratedEffectsAreCleanAndBalanced) {
    headless_init();
    for (int e = 0; e < EFFECT_COUNT; e++) {
        std::string name = REBRIK_DATA_DIR "/" + std::string(EFFECT_FILES[e]);
        SAMPLE *s = load_sample(name.c_str());
        ASSERT_TRUE(s && s->bits == 16 && !s->stereo && s->freq == 22050 && s->len > 441) << name;
        // The library keeps 16-bit samples unsigned, silence at 0x8000.
        auto x = [s](size_t i) { return (((unsigned short *)s->data)[i] - 32768) / 32768.0; };
        double peak = 0, sum = 0, edge = 0, tail = 0;
        size_t a = s->len, b = 0;
        for (size_t i = 0; i < s->len; i++) {
            if (std::fabs(x(i)) >= 0.01)
                a = std::min(a, i), b = i, peak = std::max(peak, std::fabs(x(i)));
            tail = std::max(tail, i + 441 >= s->len ? std::fabs(x(i)) : 0);
        }
        for (size_t i = a; i <= b; i++)
            sum += x(i) * x(i),
                edge = std::max(edge, i < a + 44 || i + 44 > b ? std::fabs(x(i)) : 0);
        double rms_db = 10 * std::log10(sum / (b - a + 1));
        EXPECT_TRUE(20 * std::log10(peak) <= -1 && std::fabs(rms_db + 14) <= 1)
            << name << " peak " << peak << " rms " << rms_db;
        EXPECT_TRUE(x(0) == 0 && tail == 0 && edge < peak / 4 &&
                    (e != EFFECT_TENSION || s->len < 1.8 * 22050))
            << name << " tail " << tail << " edge " << edge;
        destroy_sample(s);
    }
}
