// The table of effects heard since the last play_sounds. Filled by the
// match tick, the menus and the editor; plain data so the tick can fill it
// without the sound device, the heap or Allegro.
#include "sound.h"

sound_request sound_requests[SOUND_COUNT];

namespace {
constexpr int32_t MAX_COUNTED = 100000;

// Ticks run with nobody playing (tests, the soak) must not let the sum
// overflow; the mix only tells up to five apart anyway.
void add_request(int effect, int32_t count, int32_t x_sum)
{
    if (effect < 0 || effect >= SOUND_COUNT || count <= 0)
        return;
    sound_request &r = sound_requests[effect];
    if (r.count >= MAX_COUNTED)
        return;
    r.count += count;
    r.x_sum += x_sum;
}
}  // namespace

// A hundred bombs in one chain are one louder start, not a hundred.
void note_sound(int effect, int x)
{
    add_request(effect, 1, x);
}

void note_sounds(const sound_request effects[SOUND_COUNT])
{
    for (int e = 0; e < SOUND_COUNT; e++)
        add_request(e, effects[e].count, effects[e].x_sum);
}

void clear_sounds()
{
    for (sound_request &r : sound_requests)
        r = sound_request{0, 0};
}
