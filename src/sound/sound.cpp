// The sound effects: loaded from the working directory at start, played through the library's
// digital sound driver without waiting, muted and unmuted. Silence is never an error.
#include "sound/sound.h"
#include <allegro.h>
#include "platform/platform.h"

int sound_muted;
void (*effect_hook)(int effect);

static SAMPLE *samples[EFFECT_COUNT];
static bool driver_started; // install_sound succeeded once; never removed before exit

static void stop_all(void) {
    if (!driver_started)
        return;
    for (SAMPLE *s : samples)
        if (s)
            stop_sample(s);
}

// A file that is missing or unreadable leaves its effect silent.
static void load_effects(void) {
    stop_all();
    for (int e = 0; e < EFFECT_COUNT; e++) {
        if (samples[e])
            destroy_sample(samples[e]);
        samples[e] = load_sample(EFFECT_FILES[e]);
    }
}

void start_sound(int muted) {
    sound_muted = muted != 0;
    if (!driver_started)
        driver_started = install_sound_quietly() == 0;
    load_effects();
}

void play_effect(int effect) {
    if (effect_hook)
        effect_hook(effect);
    if (!sound_muted && driver_started && samples[effect])
        play_sample(samples[effect], 255, 128, 1000, 0);
}

void mute_sound(int muted) {
    sound_muted = muted != 0;
    if (sound_muted)
        stop_all();
}

int effects_loaded(void) {
    int n = 0;
    for (SAMPLE *s : samples)
        n += s != nullptr;
    return n;
}
