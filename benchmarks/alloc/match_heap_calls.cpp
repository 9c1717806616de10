// Nothing may be allocated while a match runs: the pools are fixed arrays
// and every picture is made at start-up. This program replaces the heap
// entry points, plays several headless matches through the real loop pass
// (walking, firing every weapon, chain reactions, wrecks, a long backlog of
// ticks after the browser; the last match between two computer players) and
// fails if any heap call was made meanwhile.
// Headless and without timers, so it is deterministic; ctest runs it.
#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app.h"
#include "computer.h"
#include "headless_game.h"
#include "level.h"
#include "match.h"

extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);
extern "C" void *__libc_memalign(size_t, size_t);

namespace {
bool counting = false;
long heap_calls = 0;
void note()
{
    heap_calls += counting;
}
}  // namespace

extern "C" {
void *malloc(size_t n)
{
    note();
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t size)
{
    note();
    return __libc_calloc(n, size);
}
void *realloc(void *p, size_t n)
{
    note();
    return __libc_realloc(p, n);
}
void *memalign(size_t align, size_t n)
{
    note();
    return __libc_memalign(align, n);
}
void *aligned_alloc(size_t align, size_t n)
{
    note();
    return __libc_memalign(align, n);
}
int posix_memalign(void **out, size_t align, size_t n)
{
    note();
    *out = __libc_memalign(align, n);
    return *out ? 0 : ENOMEM;
}
}

// libstdc++'s operator new goes through malloc already; counted here as
// well in case another standard library does not.
void *operator new(size_t n)
{
    note();
    if (void *p = __libc_malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](size_t n)
{
    return operator new(n);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, size_t) noexcept
{
    std::free(p);
}

namespace {

// The sound device stands in here as a counter: the game's side of sound,
// recording and playing the effects, runs in full.
long sounds_started = 0;
void count_sound(int, int, int)
{
    sounds_started++;
}

void hold(int player, int slot, bool down)
{
    key[profiles[player].keys[slot]] = down;
}

}  // namespace

int main(int argc, char **argv)
{
    const char *data_dir = argc > 1 ? argv[1] : BLAST_BUILD_DIR;
    if (const char *failed = start_headless_game(data_dir)) {
        std::printf("%s from %s\n", failed, data_dir);
        return 2;
    }
    read_config();   // default names and bindings
    sound_output = count_sound;

    // Walls in a lattice with animated tiles between: missiles hit walls,
    // players are stopped by them.
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = (c % 6 == 3 && r % 6 == 3) ? 1 : (r % 8 == 5 ? ANIMATED_TILE : 0);
    board[0][0] = board[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;

    // The hook must see the calls at all, or a zero would mean nothing.
    counting = true;
    void *volatile probe = std::malloc(16);
    std::free(probe);
    counting = false;
    if (heap_calls != 1) {
        std::printf("the heap hook does not see malloc\n");
        return 2;
    }
    heap_calls = 0;

    long ticks = 0, frames = 0;
    int most_bombs = 0, most_explosions = 0, wrecks = 0;
    counting = true;
    for (int match = 0; match < 4; match++) {
        // The last match is the computer's, on both sides: thinking makes
        // no heap call either.
        profiles[0].computer = profiles[1].computer = match == 3 ? COMPUTER_HARD : COMPUTER_NONE;
        choose_match_sources();
        start_match();
        // The time spent in the browser is simulated before the first frame.
        pending_ticks.store(400);
        for (int pass = 0; pass < 1500; pass++) {
            const int phase = pass / 60;
            hold(0, KEY_SLOT_RIGHT, phase % 4 == 0);
            hold(0, KEY_SLOT_DOWN, phase % 4 == 1);
            hold(0, KEY_SLOT_LEFT, phase % 4 == 2);
            hold(0, KEY_SLOT_UP, phase % 4 == 3);
            hold(1, KEY_SLOT_LEFT, phase % 3 == 0);
            hold(1, KEY_SLOT_UP, phase % 3 == 1);
            hold(1, KEY_SLOT_RIGHT, phase % 3 == 2);
            hold(0, KEY_SLOT_FIRE, true);
            hold(1, KEY_SLOT_FIRE, pass % 7 != 0);
            if (pass % 45 == 0) {   // the tick consumes the change key
                hold(0, KEY_SLOT_CHANGE, true);
                hold(1, KEY_SLOT_CHANGE, true);
            }
            if (pending_ticks.load() == 0)
                pending_ticks.store(pass % 10 == 0 ? 3 : 1);   // now and then a slow frame
            ticks += match_loop_pass();
            frames++;

            int active_bombs = 0, active_explosions = 0;
            for (const bomb &b : live_match.bombs)
                active_bombs += b.active == 1;
            for (const explosion &e : live_match.explosions)
                active_explosions += e.active == 1;
            most_bombs = active_bombs > most_bombs ? active_bombs : most_bombs;
            most_explosions = active_explosions > most_explosions ? active_explosions : most_explosions;
        }
        for (const player &p : live_match.players)
            wrecks += p.energy < 1;
    }
    counting = false;

    std::printf("%ld ticks, %ld frames, up to %d bombs and %d explosions at once, %d wrecks, "
                "%ld sounds: %ld heap calls\n",
                ticks, frames, most_bombs, most_explosions, wrecks, sounds_started, heap_calls);
    // A run without blasts, wrecks or sounds proves nothing.
    if (most_bombs < 3 || most_explosions < 30 || wrecks < 1 || sounds_started < 10) {
        std::printf("the matches were too quiet to count\n");
        return 1;
    }
    return heap_calls == 0 ? 0 : 1;
}
