// Synthesis for the sound generator: additive voices with smooth envelopes, loudness levelling
// and the WAV writer. Plain double arithmetic only, so every run writes the same bytes.
#include "sfxgen.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

static const double TWO_PI = 6.283185307179586;
static const double TARGET_RMS = 0.2;       // about -14 dBFS, as loud as the other effects
static const double PEAK_LIMIT = 0.88;      // about -1.1 dBFS, so rounding stays under -1 dBFS
static const double TOP_HARMONIC_HZ = 9000; // nothing above, well below half the rate

static double frequency(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// A half cosine from 0 to 1 over the given seconds: no corner where the sound begins or ends.
static double smooth_ramp(double t, double seconds) {
    if (t >= seconds)
        return 1.0;
    return t <= 0 ? 0.0 : 0.5 - 0.5 * std::cos(TWO_PI * 0.5 * t / seconds);
}

// The level of a note at time t of its length: attack, decay, release.
static double envelope(const Instrument &v, double t, double length) {
    return smooth_ramp(t, v.attack) * std::exp(-v.decay * t) * smooth_ramp(length - t, v.release);
}

// Adds one note into the buffer.
static void add_note(std::vector<double> &out, const Note &n) {
    const Instrument &v = *n.voice;
    long first = std::lround(n.at * RATE), count = std::lround(n.length * RATE);
    double phase = 0, tremolo_phase = 0;
    for (long i = 0; i < count; i++) {
        double t = (double)i / RATE, progress = (double)i / count;
        double f = frequency(n.from + (n.to - n.from) * progress);
        double s = 0;
        for (int k = 1; k <= 8 && k * f < TOP_HARMONIC_HZ; k++)
            s += v.harmonics[k - 1] * std::sin(k * phase);
        double tremolo = 1.0 - v.tremolo_depth * (0.5 - 0.5 * std::cos(tremolo_phase));
        out[first + i] += n.gain * envelope(v, t, n.length) * tremolo * s;
        phase = std::fmod(phase + TWO_PI * f / RATE, TWO_PI);
        double rate = v.tremolo_from + (v.tremolo_to - v.tremolo_from) * progress;
        tremolo_phase = std::fmod(tremolo_phase + TWO_PI * rate / RATE, TWO_PI);
    }
}

std::vector<double> render(const std::vector<Note> &notes) {
    double end = 0;
    for (const Note &n : notes)
        end = std::max(end, (double)n.at + n.length);
    std::vector<double> out(std::lround((end + 0.02) * RATE) + 1, 0.0);
    for (const Note &n : notes)
        add_note(out, n);
    return out;
}

void level(std::vector<double> &samples) {
    const size_t block = RATE / 100;
    std::vector<double> power;
    for (size_t at = 0; at + block <= samples.size(); at += block) {
        double sum = 0;
        for (size_t i = at; i < at + block; i++)
            sum += samples[i] * samples[i];
        power.push_back(sum / block);
    }
    double loudest = *std::max_element(power.begin(), power.end()), sum = 0;
    int sounding = 0;
    for (double p : power)
        if (p >= loudest * 1e-3) { // within 30 dB
            sum += p;
            sounding++;
        }
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::fabs(s));
    double gain = std::min(TARGET_RMS / std::sqrt(sum / sounding), PEAK_LIMIT / peak);
    for (double &s : samples)
        s *= gain;
}

static void put_le(std::FILE *f, unsigned value, int bytes) {
    for (int i = 0; i < bytes; i++)
        std::fputc((value >> (8 * i)) & 0xFF, f);
}

int write_wav(const std::string &path, const std::vector<double> &samples) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 1;
    // An even count of samples, as the effects have always had: one more of silence if odd.
    unsigned n = samples.size() + samples.size() % 2, bytes = 2 * n;
    std::fputs("RIFF", f);
    put_le(f, 36 + bytes, 4);
    std::fputs("WAVEfmt ", f);
    put_le(f, 16, 4); // plain PCM header
    put_le(f, 1, 2);  // PCM
    put_le(f, 1, 2);  // mono
    put_le(f, RATE, 4);
    put_le(f, 2 * RATE, 4); // bytes per second
    put_le(f, 2, 2);        // bytes per frame
    put_le(f, 16, 2);       // bits per sample
    std::fputs("data", f);
    put_le(f, bytes, 4);
    // Signed 16-bit: the rounding noise lies near -101 dBFS, some 87 dB under the sound, and
    // silence (every sample of 0.0) is written as exact zeros.
    for (double s : samples)
        put_le(f, (unsigned)std::clamp(std::lround(s * 32768), -32768L, 32767L) & 0xFFFF, 2);
    if (n > samples.size())
        put_le(f, 0, 2);
    return std::fclose(f) != 0;
}
