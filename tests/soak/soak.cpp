// The long soak: a million ticks of random play on random boards, with the
// game's invariants checked after every tick and every heap allocation
// counted. A separate program, because it hooks malloc (which operator new
// goes through too) for the whole process.
//
//   soak [TICKS] [SEED]
#include <allegro.h>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app.h"
#include "headless_game.h"
#include "editor.h"
#include "match_loop.h"
#include "match_render.h"

// ---- allocation counter ----------------------------------------------------
namespace {
volatile bool counting = false;
volatile long allocations = 0;
inline void note_allocation()
{
    if (counting)
        allocations = allocations + 1;
}
}  // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SOAK_ASAN 1
#endif

#ifdef SOAK_ASAN
// AddressSanitizer owns malloc; it reports every allocation to this hook.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void *, size_t),
                                                         void (*)(const volatile void *));
namespace {
void on_malloc(const volatile void *, size_t) { note_allocation(); }
void on_free(const volatile void *) {}
}  // namespace
#else
// Everything else, the library's C code included, goes through these.
extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *malloc(size_t n)
{
    note_allocation();
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t size)
{
    note_allocation();
    return __libc_calloc(n, size);
}
void *realloc(void *p, size_t n)
{
    note_allocation();
    return __libc_realloc(p, n);
}
}
#endif

namespace {

// ---- deterministic randomness ----------------------------------------------
uint64_t rng_state;
uint32_t next_random()
{
    uint64_t z = (rng_state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return uint32_t((z ^ (z >> 31)) >> 16);
}
int below(int n) { return int(next_random() % uint32_t(n)); }
bool chance(int percent) { return below(100) < percent; }

// ---- boards ------------------------------------------------------------------
const int32_t WALLS[] = {1, 3, 5, 7, 9, 12, 17, 20};

int32_t random_tile(int style, int density)
{
    switch (style) {
    case 0:   // the editor's tiles, walls as often as density says
        return chance(density) ? WALLS[below(8)] : below(30);
    case 1:   // floor and walls only
        return chance(density) ? WALLS[below(8)] : 0;
    default:  // whatever a hand-made file may hold
        return chance(50) ? below(30) : int32_t(next_random() * 2654435761u);
    }
}

void random_board()
{
    int style = below(3), density = below(60);
    for (auto &column : board)
        for (auto &cell : column)
            cell = random_tile(style, density);
    // Mostly the players start on floor, as the editor keeps it; not always.
    if (chance(80)) {
        board[0][0] = 0;
        board[LEVEL_COLUMNS - 1][LEVEL_ROWS - 1] = 0;
    }
}

// ---- keys ----------------------------------------------------------------------
// Now and then the bindings are whatever config.ini might say: shared keys,
// negative numbers, numbers past the key array.
void random_bindings()
{
    use_default_bindings();
    for (int p = 0; p < 2; p++)
        for (int s = 0; s < KEY_SLOTS; s++)
            if (!chance(85))
                profiles[p].keys[s] = chance(50) ? below(KEY_MAX) : below(2000) - 1000;
}

void hold_random_keys()
{
    for (int p = 0; p < 2; p++)
        for (int s = 0; s <= KEY_SLOT_CHANGE; s++) {
            int k = profiles[p].keys[s];
            if (k < 0 || k >= KEY_MAX)
                continue;
            int percent = s == KEY_SLOT_FIRE ? 60 : s == KEY_SLOT_CHANGE ? 10 : 30;
            key[k] = chance(percent);
        }
    key[KEY_ESC] = chance(1);
}

match_state &m = live_match;
player (&players)[2] = live_match.players;

// A storm: far more weapons than two players can fire, so both pools run
// full and stay full for long stretches.
void storm()
{
    for (int n = below(8); n > 0; n--)
        spawn_bomb(m, below(LEVEL_COLUMNS), below(LEVEL_ROWS), below(3), below(2));
    for (int n = below(20); n > 0; n--)
        spawn_explosion(m, below(LEVEL_COLUMNS + 8) - 4, below(LEVEL_ROWS + 8) - 4);
}

// ---- invariants --------------------------------------------------------------
long breaks = 0;
long tick_number = 0;

void broken(const char *what)
{
    if (breaks < 20)
        std::printf("tick %ld: %s\n", tick_number, what);
    breaks++;
}
#define EXPECT(cond) \
    do {             \
        if (!(cond)) \
            broken(#cond); \
    } while (0)

struct peaks {
    int bombs = 0, explosions = 0;
    long full_bomb_pool = 0, full_explosion_pool = 0, wrecks = 0;
} seen;

void check_tick(const int32_t (&energy_before)[2])
{
    for (int i = 0; i < 2; i++) {
        const player &p = players[i];
        EXPECT(p.x >= 2 && p.x <= 626 && p.y >= 2 && p.y <= 398);
        EXPECT(p.col >= 0 && p.col < LEVEL_COLUMNS && p.row >= 0 && p.row < LEVEL_ROWS);
        EXPECT(p.energy <= energy_before[i]);
        EXPECT(p.frame >= 0.0 && p.frame <= 7.0);
        EXPECT(p.weapon >= WEAPON_BOMB && p.weapon <= WEAPON_BIG_BOMB);
        EXPECT(p.fire_delay >= 0 && p.fire_delay <= 24);
    }
    int active_bombs = 0, active_explosions = 0;
    // The pools' searches skip slots they know are taken: never a free one.
    for (int i = 0; i < m.bomb_search_from && i < BOMB_POOL_SIZE; i++)
        EXPECT(m.bombs[i].active == 1);
    for (int i = 0; i < m.explosion_search_from && i < EXPLOSION_POOL_SIZE; i++)
        EXPECT(m.explosions[i].active == 1);
    EXPECT(m.result >= RESULT_NONE && m.result <= RESULT_DRAW);
    EXPECT((m.result == RESULT_NONE) == (m.result_tick < 0));
    for (const bomb &b : m.bombs) {
        EXPECT(b.active == 0 || b.active == 1);
        if (b.active != 1)
            continue;
        active_bombs++;
        EXPECT(b.type >= WEAPON_BOMB && b.type <= WEAPON_BIG_BOMB);
        EXPECT(b.fuse > 0 && b.fuse <= 100);
        if (b.type != WEAPON_MISSILE)   // bombs lie where a player stood
            EXPECT(b.col >= 0 && b.col < LEVEL_COLUMNS && b.row >= 0 && b.row < LEVEL_ROWS);
    }
    for (const explosion &e : m.explosions) {
        EXPECT(e.active == 0 || e.active == 1);
        if (e.active != 1)
            continue;
        active_explosions++;
        EXPECT(e.life >= 1 && e.life <= 15);
        EXPECT(e.frame >= 0.0 && e.frame < 8.0);
    }
    EXPECT(active_bombs <= BOMB_POOL_SIZE && active_explosions <= EXPLOSION_POOL_SIZE);
    EXPECT(m.anim_clock >= 0.0f && m.anim_clock < 8.0f);
    if (active_bombs > seen.bombs)
        seen.bombs = active_bombs;
    if (active_explosions > seen.explosions)
        seen.explosions = active_explosions;
    seen.full_bomb_pool += active_bombs == BOMB_POOL_SIZE;
    seen.full_explosion_pool += active_explosions == EXPLOSION_POOL_SIZE;
}

// The tick is a function of the state and the words alone: two copies given
// the same words end on the same bytes. A hidden global, an uninitialised
// read or a pointer kept in the state would part them sooner or later.
void check_pure(control_word p1, control_word p2)
{
    static match_state a, b;
    a = m;
    b = m;
    match_tick(a, p1, p2);
    match_tick(b, p1, p2);
    EXPECT(match_hash(a) == match_hash(b));
    EXPECT(std::memcmp(&a, &b, sizeof a) == 0);
}

// The counter must see what it is meant to catch, or a zero proves nothing.
bool counter_works()
{
    static void *volatile sink;
    counting = true;
    sink = std::malloc(16);
    std::free(sink);
    sink = new int(1);
    delete static_cast<int *>(sink);
    counting = false;
    bool works = allocations == 2;
    allocations = 0;
    return works;
}

}  // namespace

int main(int argc, char **argv)
{
    long ticks = argc > 1 ? std::atol(argv[1]) : 1000000;
    rng_state = argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 20240607;
    if (const char *failed = start_headless_game(BLAST_BUILD_DIR)) {
        std::printf("soak: %s from %s\n", failed, BLAST_BUILD_DIR);
        return 2;
    }
#ifdef SOAK_ASAN
    __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
#endif
    if (!counter_works()) {
        std::printf("soak: the allocation counter does not work in this build\n");
        return 2;
    }
    constexpr int RENDER_EVERY = 997;   // a frame now and then, at odd moments
    constexpr int PURITY_EVERY = 101;
    long matches = 0;
    while (tick_number < ticks) {
        random_board();
        random_bindings();
        start_match();
        matches++;
        bool stormy = chance(25);
        long length = 200 + below(3000);
        for (long t = 0; t < length && tick_number < ticks; t++, tick_number++) {
            if (t % 8 == 0)
                hold_random_keys();
            int32_t energy_before[2] = {players[0].energy, players[1].energy};
            counting = true;
            if (stormy)
                storm();
            if (tick_number % PURITY_EVERY == 0)
                check_pure(control_word(below(CONTROL_ALL + 1)), control_word(below(CONTROL_ALL + 1)));
            run_one_tick();
            if (tick_number % RENDER_EVERY == 0)
                render_match_frame(m);
            counting = false;
            check_tick(energy_before);
        }
        seen.wrecks += (players[0].energy <= 0) + (players[1].energy <= 0);
    }
    std::printf("soak: %ld ticks, %ld matches, %ld invariant breaks, %ld heap allocations\n",
                tick_number, matches, breaks, long(allocations));
    std::printf("soak: peak %d bombs, %d explosions; %ld ticks with a full bomb pool, "
                "%ld with a full explosion pool; %ld players wrecked\n",
                seen.bombs, seen.explosions, seen.full_bomb_pool, seen.full_explosion_pool,
                seen.wrecks);
    return breaks == 0 && allocations == 0 ? 0 : 1;
}
