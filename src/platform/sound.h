// Sound. The game only records what was heard - which effect, where - in a
// fixed table; the match tick does that much and stays headless. Once per
// pass of a loop play_sounds turns the table into samples on the sound
// device, at most one start per effect, and empties it.
#pragma once

#include <cstdint>

#include "catalogue.h"

constexpr int DEFAULT_VOLUME = 70;     // config.ini `volume`, 0..100
constexpr int HIT_SOUND_TICKS = 8;     // one hit sound per player per 200 ms
constexpr int SOUND_CENTRE_X = SCREEN_WIDTH / 2;   // where menus and the editor sound

// No clipping, ever: the voice limit, the volume each voice gets and the
// narrowest pan keep the loudest possible mix of every voice at its peak,
// all on one side, within full scale (the test of the mixing works it out).
constexpr int SOUND_VOICES = 6;
constexpr int SOUND_VOICE_SCALE = 3;   // set_volume_per_voice: 1/8 of full scale centred
constexpr int SOUND_PAN_MIN = 44, SOUND_PAN_MAX = 211;

// ---- recording: plain data, no Allegro, no heap --------------------------
struct sound_request {
    int32_t count;   // times the effect went off since the last play_sounds
    int32_t x_sum;   // their screen x summed, for the pan
};
extern sound_request sound_requests[SOUND_COUNT];

void note_sound(int effect, int x);
// Every effect of a table at once, as a tick of the match records them.
void note_sounds(const sound_request effects[SOUND_COUNT]);
void clear_sounds();   // nothing pending

// ---- playing -------------------------------------------------------------
extern int sound_volume;   // 0..100; 0 opens no device at all

struct sound_mix {
    int vol, pan;   // play_sample's 0..255
};
// Several of one effect together are louder (up to twice), never longer.
sound_mix mix_sound(int count, int x, int volume);

// Where play_sounds sends each start; tests put a recorder here.
extern void (*sound_output)(int effect, int vol, int pan);

// Opens the sound device and loads sound.dat. Without a device, a driver
// or the datafile the game runs silent: one line on stderr, never a failure.
void start_sound(const char *sound_dat_path);
void stop_sound();
void play_sounds();
// Every voice stops at once and nothing waits to be played (a pause).
void silence_sounds();
