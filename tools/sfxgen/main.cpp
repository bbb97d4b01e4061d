// rebrik-sfxgen: synthesises the game's sound effects from the scores below and writes them as
// WAV files into the folder named on the command line. Same bytes on every run.
#include <cstdio>
#include "sfxgen.h"
#include "sound/sound.h"

// The instruments: harmonics, decay, attack, release, tremolo.
static const Instrument BELL = {{1, 0.45f, 0.2f, 0.1f, 0.05f}, 5.0f, 0.012f, 0.06f, 0, 0, 0};
static const Instrument SOFT_BELL = {{1, 0.25f, 0.08f}, 4.0f, 0.015f, 0.08f, 0, 0, 0};
static const Instrument BRASS = {
    {1, 0.7f, 0.5f, 0.35f, 0.25f, 0.15f, 0.1f, 0.06f}, 0.6f, 0.02f, 0.12f, 0, 0, 0};
static const Instrument PAD = {{1, 0.35f, 0.15f, 0.06f}, 0.3f, 0.06f, 0.2f, 0, 0, 0};
static const Instrument PULSE = {
    {1, 0.5f, 0.33f, 0.25f, 0.2f, 0.16f, 0.14f, 0.12f}, 0, 0.25f, 0.15f, 4.0f, 13.0f, 0.7f};
static const Instrument BUZZ = {
    {1, 0.8f, 0.6f, 0.45f, 0.35f, 0.25f, 0.18f, 0.12f}, 1.5f, 0.015f, 0.15f, 0, 0, 0};

// The banner and final sounds wait this long, so that they come after the sting that ends the
// blink and land as their box reaches full strength (the fade-ins take about half a second).
static const float LEAD_IN = 0.45f;

// MIDI note numbers.
enum {
    A2 = 45,
    E3 = 52,
    A3 = 57,
    C4 = 60,
    E4 = 64,
    G4 = 67,
    A4 = 69,
    B4 = 71,
    C5 = 72,
    D5 = 74,
    E5 = 76,
    G5 = 79,
    A5 = 81,
    B5 = 83,
    C6 = 84,
    D6 = 86,
    E6 = 88,
    G6 = 91,
    B6 = 95
};

// A short phrase: notes of one instrument, one after another, each held the same length.
static void phrase(std::vector<Note> &out, float at, float step, float length, float gain,
                   const Instrument &v, std::initializer_list<int> notes) {
    for (int n : notes) {
        out.push_back({at, length, (float)n, (float)n, gain, &v});
        at += step;
    }
}

// A chord: the notes together.
static void chord(std::vector<Note> &out, float at, float length, float gain, const Instrument &v,
                  std::initializer_list<int> notes) {
    phrase(out, at, 0, length, gain, v, notes);
}

static std::vector<Note> score(int effect) {
    std::vector<Note> s;
    switch (effect) {
    case EFFECT_INTRO: // a question asked: up the A minor triad to an open E major chord
        phrase(s, 0, 0.14f, 0.3f, 1, BELL, {A4, C5, E5});
        chord(s, 0.42f, 0.95f, 0.6f, BRASS, {E4, B4, E5, G5 + 1});
        break;
    case EFFECT_PROMPT: // a soft two-note question mark
        phrase(s, 0, 0.09f, 0.3f, 1, SOFT_BELL, {E5, A5});
        break;
    case EFFECT_TENSION: // a pulsing open fifth climbing an octave, the pulse ever faster
        s.push_back({0, 1.7f, A2, A3, 1, &PULSE});
        s.push_back({0, 1.7f, E3, E3 + 12, 0.7f, &PULSE});
        s.push_back({0.3f, 1.4f, A4, A5, 0.15f, &PAD});
        break;
    case EFFECT_RIGHT: // C major up to the octave, quick and bright
        phrase(s, 0, 0.06f, 0.32f, 1, BELL, {C5, E5, G5, C6});
        break;
    case EFFECT_WRONG: // two low voices sagging a tritone apart
        s.push_back({0, 0.6f, A3 + 1, E3, 1, &BUZZ});
        s.push_back({0, 0.6f, E4, A3 + 1, 0.6f, &BUZZ});
        break;
    case EFFECT_FIFTY: // two notes, the second a fifth below: half gone
        phrase(s, 0, 0.11f, 0.2f, 1, BELL, {G5, C5});
        break;
    case EFFECT_SWITCH: // two voices crossing: one question out, another in
        s.push_back({0, 0.35f, G4, D5, 1, &PAD});
        s.push_back({0, 0.35f, D5, G4, 1, &PAD});
        break;
    case EFFECT_THIRD: // a bright ping: an idea
        chord(s, 0, 0.4f, 1, BELL, {E6, B6});
        phrase(s, 0.07f, 0.07f, 0.3f, 0.5f, BELL, {G6, E6 + 12});
        break;
    case EFFECT_LEVEL_UP: // a short rise up the G major triad
        phrase(s, LEAD_IN, 0.07f, 0.3f, 1, BELL, {G4, B4, D5, G5});
        break;
    case EFFECT_SAFE_ROW: // brighter: higher, brassier, ending on a held C major chord
        phrase(s, LEAD_IN, 0.06f, 0.25f, 1, BELL, {C5, E5, G5, C6, E6});
        chord(s, LEAD_IN + 0.3f, 0.5f, 0.5f, BRASS, {C5, G5, C6});
        break;
    case EFFECT_WIN: // a fanfare: G G C E, then the whole C major chord held
        phrase(s, LEAD_IN, 0.15f, 0.14f, 1, BRASS, {G4, G4, C5, E5});
        chord(s, LEAD_IN + 0.6f, 1.0f, 0.5f, BRASS, {C5, E5, G5, C6});
        phrase(s, LEAD_IN + 0.6f, 0.08f, 0.4f, 0.4f, BELL, {C6, E6, G6});
        break;
    case EFFECT_GAME_OVER: // a calm step down to a low C major chord: the game is done
        phrase(s, LEAD_IN, 0.2f, 0.25f, 1, BELL, {E5, D5, C5});
        chord(s, LEAD_IN + 0.6f, 0.7f, 0.6f, PAD, {C4, E4, G4});
        break;
    }
    return s;
}

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rebrik-sfxgen FOLDER\n");
        return 2;
    }
    for (int e = 0; e < EFFECT_COUNT; e++) {
        std::vector<double> samples = render(score(e));
        level(samples);
        std::string path = std::string(argv[1]) + "/" + EFFECT_FILES[e];
        if (write_wav(path, samples) != 0) {
            std::fprintf(stderr, "rebrik-sfxgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
