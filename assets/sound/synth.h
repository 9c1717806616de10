// The game's sound effects, made from noise and tones: pitch sweeps, decaying
// envelopes and a little low-pass filtering. Deterministic: every build makes
// the same samples, bit for bit. soundgen writes them for sound.dat; the
// tests make them again to compare.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

constexpr int RATE = 22050;        // samples per second, mono
// Every effect peaks at this fraction of full scale: the game's mixing
// headroom is reckoned from it.
constexpr float PEAK = 0.8f;

// Effect n of sound.dat (the SOUND_* numbers of the catalogue) as signed
// 16-bit samples.
std::vector<int16_t> effect(int n);

}  // namespace synth
