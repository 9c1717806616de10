// The game's sound effects, made from noise and tones: pitch sweeps, decaying
// envelopes and a little low-pass filtering. Deterministic: every build makes
// the same samples, bit for bit. soundgen writes them for sound.dat; the
// tests make them again to compare.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

constexpr int RATE = 22050;        // samples per second, mono
// Effect n of sound.dat (the SOUND_* numbers of the catalogue) as signed
// 16-bit samples, each at its own peak between -12 and -6 dBFS: the game's
// mixing headroom is reckoned from the loudest.
std::vector<int16_t> effect(int n);

}  // namespace synth
