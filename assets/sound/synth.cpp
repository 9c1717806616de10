// The synthesizer: a few voices written into a float buffer, then scaled to
// the effect's own peak. Built only from integer-seeded noise and plain float
// arithmetic, so the output is the same on every run.
#include "synth.h"

#include <cmath>

#include "catalogue.h"

namespace synth {

namespace {

constexpr float PI = 3.14159265358979f;

using wave = std::vector<float>;

enum shape { SINE, SQUARE, SAW, TRIANGLE, NOISE };

// A voice: a shape swept exponentially in pitch from f0 to f1 (for noise:
// the low-pass cutoff), an attack ramp and an exponential fall to -60 dB at
// its end.
struct voice {
    shape form;
    float start, length;   // seconds
    float f0, f1;          // Hz
    float amp;
    float attack;          // seconds
    float lowpass = 0;     // extra cutoff for tones, Hz; 0 leaves them bright
};

// xorshift32: the same seed, the same noise, everywhere.
struct noise_source {
    uint32_t state;
    float next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }
};

// One-pole low-pass coefficient for a cutoff at this rate.
float pole(float cutoff)
{
    return 1.0f - std::exp(-2.0f * PI * cutoff / RATE);
}

float oscillator(shape form, float phase, noise_source &noise)
{
    switch (form) {
    case SINE: return std::sin(2.0f * PI * phase);
    case SQUARE: return phase < 0.5f ? 1.0f : -1.0f;
    case SAW: return 2.0f * phase - 1.0f;
    case TRIANGLE: return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
    case NOISE: return noise.next();
    }
    return 0.0f;
}

void add(wave &w, const voice &v, uint32_t seed)
{
    noise_source noise{seed};
    const int first = static_cast<int>(v.start * RATE);
    const int count = static_cast<int>(v.length * RATE);
    if (first + count > static_cast<int>(w.size()))
        w.resize(first + count, 0.0f);
    const float fall = std::log(1000.0f) / v.length;   // -60 dB over the length
    float phase = 0.0f, low1 = 0.0f, low2 = 0.0f;
    for (int i = 0; i < count; i++) {
        float t = static_cast<float>(i) / RATE;
        float sweep = v.f0 * std::pow(v.f1 / v.f0, t / v.length);
        float s = oscillator(v.form, phase, noise);
        phase += sweep / RATE;
        phase -= std::floor(phase);
        // Noise is shaped by its swept cutoff; two poles give the blasts
        // their dull roar rather than a hiss.
        float cutoff = v.form == NOISE ? sweep : v.lowpass;
        if (cutoff > 0.0f) {
            float k = pole(cutoff);
            low1 += k * (s - low1);
            low2 += k * (low1 - low2);
            s = low2;
        }
        float env = std::exp(-fall * t);
        if (t < v.attack)
            env *= t / v.attack;
        // The last 5 ms fade out, so a voice never ends on a click.
        float left = v.length - t;
        if (left < 0.005f)
            env *= left / 0.005f;
        w[first + i] += v.amp * env * s;
    }
}

wave make(std::initializer_list<voice> voices, uint32_t seed)
{
    wave w;
    for (const voice &v : voices)
        add(w, v, seed++);
    return w;
}

wave design(int n)
{
    switch (n) {
    case SOUND_SMALL_BLAST:
        return make({{NOISE, 0, 0.55f, 3200, 300, 1.0f, 0.002f},
                     {SINE, 0, 0.35f, 110, 40, 0.8f, 0.004f}}, 11);
    case SOUND_BIG_BLAST:   // the deepest of all, and longer than the small one
        return make({{NOISE, 0, 1.3f, 1400, 100, 0.8f, 0.004f},
                     {NOISE, 0.02f, 1.25f, 200, 50, 1.0f, 0.03f},
                     {SINE, 0, 1.0f, 64, 24, 1.1f, 0.006f}}, 23);
    case SOUND_MISSILE_LAUNCH:
        return make({{NOISE, 0, 0.35f, 700, 5000, 0.9f, 0.06f},
                     {SAW, 0, 0.3f, 220, 880, 0.25f, 0.03f, 2500}}, 37);
    case SOUND_MISSILE_HIT:
        return make({{NOISE, 0, 0.3f, 5000, 700, 1.0f, 0.001f},
                     {SINE, 0, 0.16f, 170, 60, 0.7f, 0.002f}}, 41);
    case SOUND_BOMB_DROPPED:
        return make({{SINE, 0, 0.1f, 240, 120, 1.0f, 0.002f},
                     {NOISE, 0, 0.02f, 4000, 2000, 0.4f, 0.0005f}}, 53);
    case SOUND_WEAPON_CHANGED:
        return make({{SQUARE, 0, 0.05f, 660, 660, 0.5f, 0.002f, 4000},
                     {SQUARE, 0.05f, 0.07f, 990, 990, 0.5f, 0.002f, 4000}}, 61);
    case SOUND_PLAYER_HIT:
        return make({{SQUARE, 0, 0.14f, 170, 120, 0.6f, 0.002f, 1800},
                     {NOISE, 0, 0.1f, 2000, 900, 0.6f, 0.001f}}, 71);
    case SOUND_PLAYER_WRECKED:
        return make({{SAW, 0, 0.8f, 440, 70, 0.6f, 0.005f, 3000},
                     {NOISE, 0, 0.7f, 1500, 250, 0.8f, 0.002f}}, 83);
    case SOUND_MENU_MOVE:
        return make({{SINE, 0, 0.05f, 1200, 1100, 1.0f, 0.002f}}, 97);
    case SOUND_MENU_CHOOSE:
        return make({{TRIANGLE, 0, 0.07f, 523, 523, 1.0f, 0.002f},
                     {TRIANGLE, 0.07f, 0.12f, 784, 784, 1.0f, 0.002f}}, 101);
    case SOUND_LEVEL_SAVED:   // rising: done
        return make({{TRIANGLE, 0, 0.12f, 523, 523, 1.0f, 0.003f},
                     {TRIANGLE, 0.12f, 0.12f, 659, 659, 1.0f, 0.003f},
                     {TRIANGLE, 0.24f, 0.2f, 784, 784, 1.0f, 0.003f}}, 107);
    case SOUND_RESULT:   // three rising notes and a held fourth: it is over
        return make({{TRIANGLE, 0, 0.1f, 392, 392, 1.0f, 0.003f},
                     {TRIANGLE, 0.1f, 0.1f, 523, 523, 1.0f, 0.003f},
                     {TRIANGLE, 0.2f, 0.1f, 659, 659, 1.0f, 0.003f},
                     {SQUARE, 0.3f, 0.45f, 784, 784, 0.5f, 0.003f, 3000}}, 127);
    case SOUND_SAVE_FAILED:   // falling and buzzing: not done
        return make({{SQUARE, 0, 0.2f, 220, 220, 0.6f, 0.003f, 1500},
                     {SQUARE, 0.2f, 0.28f, 147, 147, 0.6f, 0.003f, 1500}}, 113);
    }
    return wave(RATE / 10, 0.0f);
}

// How loud each effect peaks, in dB below full scale, by effect number.
// The big blast leads; what happens to a player comes next, then the
// weapons' own noises, and the blips of the menus and the editor sit
// lowest, so they never cover the match.
constexpr float PEAK_DB[] = {
    -8.0f, -6.5f,     // small blast, big blast
    -10.0f, -9.0f,    // missile launch, missile hit
    -11.0f, -11.5f,   // bomb dropped, weapon changed
    -10.0f, -8.5f,    // player hit, player wrecked
    -11.5f, -11.0f,   // menu move, menu choose
    -11.0f, -11.0f,   // level saved, save failed
    -9.0f,            // the result
};
static_assert(sizeof PEAK_DB / sizeof PEAK_DB[0] == SOUND_COUNT, "every effect has its level");

}  // namespace

std::vector<int16_t> effect(int n)
{
    wave w = design(n);
    float peak = 0.0f;
    for (float s : w)
        peak = std::fmax(peak, std::fabs(s));
    float level = n >= 0 && n < SOUND_COUNT ? std::pow(10.0f, PEAK_DB[n] / 20.0f) : 0.0f;
    float scale = peak > 0.0f ? level * 32767.0f / peak : 0.0f;
    std::vector<int16_t> out(w.size());
    for (size_t i = 0; i < w.size(); i++)
        out[i] = static_cast<int16_t>(std::lround(w[i] * scale));
    return out;
}

}  // namespace synth
