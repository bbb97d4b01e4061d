// The sound effects: loaded from the working directory at start, played through the library's
// digital sound driver without waiting, muted and unmuted with M. Silence is never an error.
#include "sound/sound.h"
#include <allegro.h>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int sound_muted;
void (*effect_hook)(int effect);

static SAMPLE *samples[EFFECT_COUNT];
static bool driver_started; // install_sound succeeded once; never removed before exit
static bool m_was_down;

// install_sound with standard error pointed at /dev/null for its length: the sound library
// under the driver writes a dozen lines there when the machine has no sound device, which is
// no concern of the player's. The game's other threads write nothing there meanwhile, and the
// old stream comes back.
static int install_sound_quietly(void) {
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO), null = open("/dev/null", O_WRONLY);
    bool redirected = saved >= 0 && null >= 0 && dup2(null, STDERR_FILENO) >= 0;
    int result = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    std::fflush(stderr);
    if (redirected)
        dup2(saved, STDERR_FILENO);
    if (saved >= 0)
        close(saved);
    if (null >= 0)
        close(null);
    return result;
}

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

void poll_sound_keys(void) {
    bool down = key[KEY_M] != 0;
    if (down && !m_was_down) {
        sound_muted = !sound_muted;
        if (sound_muted)
            stop_all();
    }
    m_was_down = down;
}

int effects_loaded(void) {
    int n = 0;
    for (SAMPLE *s : samples)
        n += s != nullptr;
    return n;
}
