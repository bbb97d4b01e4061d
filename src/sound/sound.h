// Sound: the game's effects, started and never waited for, and silent wherever the machine
// has no sound device or a file is missing. What other subsystems may use of it.
#pragma once

// The moments of a game that have a sound; each one is a WAV file beside the pictures.
enum Effect {
    EFFECT_INTRO,   // the intro screen opens
    EFFECT_PROMPT,  // an answer is chosen and the confirmation prompt appears
    EFFECT_TENSION, // "ANO": rising tension under the blink (shorter than its 1.8 s)
    EFFECT_RIGHT,   // the blink ends on a right answer
    EFFECT_WRONG,   // the blink ends on a wrong answer
    EFFECT_FIFTY,   // the three lifelines, one sound each
    EFFECT_SWITCH,
    EFFECT_THIRD,
    EFFECT_LEVEL_UP,  // the level banner
    EFFECT_SAFE_ROW,  // the level banner of the safe rows 5 and 10
    EFFECT_WIN,       // the final screen after all fifteen
    EFFECT_GAME_OVER, // the final screen of any other end
    EFFECT_COUNT
};

// The file of each effect, in the game's working directory; the generator writes them.
inline constexpr const char *EFFECT_FILES[EFFECT_COUNT] = {
    "uvod.wav",   "vyber.wav",    "napatie.wav", "spravne.wav",  "zle.wav",   "polovica.wav",
    "vymena.wav", "ziarovka.wav", "postup.wav",  "bezpecne.wav", "vyhra.wav", "koniec.wav"};

// 1 while sound is muted: the one state of muting, changed only by start_sound and mute_sound.
extern int sound_muted;

// Called with each effect the game asks for, muted or not; null in the game. Tests use it to
// record which effect played at which frame.
extern void (*effect_hook)(int effect);

// Starts the sound driver (quietly: its complaints never reach the terminal) and loads the
// effects from the working directory. Never fails: what cannot start or load stays silent.
// Called again, it reloads the files.
void start_sound(int muted);

// Starts an effect and returns at once. Silent when muted, without a driver or without its file.
void play_effect(int effect);

// Mutes (stopping what plays) or unmutes.
void mute_sound(int muted);

// How many effect files were loaded.
int effects_loaded(void);
