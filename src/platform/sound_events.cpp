// The table of effects heard since the last play_sounds. Filled by the
// match tick, the menus and the editor; plain data so the tick can fill it
// without the sound device, the heap or Allegro.
#include "sound.h"

sound_request sound_requests[SOUND_COUNT];

namespace {
constexpr int32_t MAX_COUNTED = 100000;
int32_t hit_sound_wait[2];   // ticks until a player's next hit may sound
}

// A hundred bombs in one chain are one louder start, not a hundred.
void note_sound(int effect, int x)
{
    if (effect < 0 || effect >= SOUND_COUNT)
        return;
    // Ticks run with nobody playing (tests, the soak) must not let the sum
    // overflow; the mix only tells up to five apart anyway.
    if (sound_requests[effect].count >= MAX_COUNTED)
        return;
    sound_requests[effect].count += 1;
    sound_requests[effect].x_sum += x;
}

void note_damage(int player_index, int32_t before, int32_t after, int x)
{
    int32_t &wait = hit_sound_wait[player_index];
    if (wait > 0)
        wait -= 1;
    if (after >= before || before < 1)
        return;
    if (after < 1) {
        note_sound(SOUND_PLAYER_WRECKED, x);
    } else if (wait == 0) {
        note_sound(SOUND_PLAYER_HIT, x);
        wait = HIT_SOUND_TICKS;
    }
}

void clear_sounds()
{
    for (sound_request &r : sound_requests)
        r = sound_request{0, 0};
    hit_sound_wait[0] = hit_sound_wait[1] = 0;
}
