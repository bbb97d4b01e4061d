// The sound generator's shared pieces: notes played by simple instruments, mixed into one
// effect, brought to a common loudness and written as a 16-bit mono WAV file.
#pragma once
#include <string>
#include <vector>

constexpr int RATE = 22050;

// How a voice sounds: the strength of its first eight harmonics, how fast it dies away, its
// attack and release, and a tremolo whose speed may rise over the note.
struct Instrument {
    float harmonics[8];
    float decay;        // per second: the note's level falls as exp(-decay * t)
    float attack;       // seconds of a smooth rise from silence
    float release;      // seconds of a smooth fall to silence at the note's end
    float tremolo_from; // tremolo speed in Hz at the note's start and end (0: none)
    float tremolo_to;
    float tremolo_depth; // 0..1
};

// One note: start and length in seconds, pitch as MIDI note numbers (69 = A 440 Hz) gliding
// from one to the other, loudness relative to the other notes, and its instrument.
struct Note {
    float at, length;
    float from, to;
    float gain;
    const Instrument *voice;
};

// Renders the notes into one buffer of samples in -1..1, silent a little after the last note.
std::vector<double> render(const std::vector<Note> &notes);

// Scales the samples so that the sounding part has the common loudness, never above the peak
// allowed: the loudness is the RMS over the 10 ms blocks within 30 dB of the loudest one.
void level(std::vector<double> &samples);

// Writes signed 16-bit mono PCM at RATE; 0 on success.
int write_wav(const std::string &path, const std::vector<double> &samples);
