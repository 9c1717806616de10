// The match tick: the whole 25 ms step of the simulation, in the game's
// order, on a match_state and two control words. Nothing else advances a
// match; the loop, replays, the tests, the fuzzers, the soak and the
// benchmarks all call match_tick.
#include <cstring>
#include <type_traits>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "match_state.h"

// The hash reads the state's bytes as they lie: no padding may hide in it,
// and nothing in it may point anywhere.
static_assert(sizeof(player) == 14 * 4, "player has no padding");
static_assert(sizeof(bomb) == 10 * 4, "bomb has no padding");
static_assert(sizeof(explosion) == 6 * 4, "explosion has no padding");
static_assert(sizeof(tick_sounds) == SOUND_COUNT * 8, "tick_sounds has no padding");
static_assert(sizeof(match_state) == sizeof(int32_t) * LEVEL_CELLS + 2 * sizeof(player) +
                                         BOMB_POOL_SIZE * sizeof(bomb) +
                                         EXPLOSION_POOL_SIZE * sizeof(explosion) + 8 * 4 + 8 +
                                         sizeof(tick_sounds),
              "match_state has no padding");
static_assert(std::is_trivially_copyable<match_state>::value, "a snapshot is a copy");

namespace {

constexpr float ANIM_CLOCK_STEP = 0.25f, ANIM_CLOCK_WRAP = ANIM_CLOCK_FRAMES;
constexpr double WALK_FRAME_LAST = WALK_FRAMES - 1;

// Every explosion on a player's cell counts, and a player who is out is
// still hit on the cell of its last turn.
void drain_energy(match_state &m)
{
    const int32_t before[2] = {m.players[0].energy, m.players[1].energy};
    for (const explosion &e : m.explosions) {
        if (e.active != 1)
            continue;
        if (e.col == m.players[0].col && e.row == m.players[0].row)
            m.players[0].energy -= 1;
        if (e.col == m.players[1].col && e.row == m.players[1].row)
            m.players[1].energy -= 1;
    }
    for (int i = 0; i < 2; i++) {
        player &p = m.players[i];
        p.damage = before[i] - p.energy;
        const int x = p.x + CELL_SIZE / 2;
        // The wreck sounds once; hits at most every HIT_SOUND_TICKS ticks;
        // a wreck that is still hit stays quiet.
        if (p.hit_wait > 0)
            p.hit_wait -= 1;
        if (p.damage > 0 && before[i] >= 1) {
            if (p.energy < 1) {
                match_sound(m, SOUND_PLAYER_WRECKED, x);
            } else if (p.hit_wait == 0) {
                match_sound(m, SOUND_PLAYER_HIT, x);
                p.hit_wait = HIT_SOUND_TICKS;
            }
        }
        if (p.energy < 1 && p.out_tick < 0)
            p.out_tick = m.tick;
    }
}

// A player out while the other is in loses once the other has outlasted it
// by more than the draw window; both out within the window of each other is
// a draw. Decided once; nothing later changes it.
void decide_result(match_state &m)
{
    if (m.result != RESULT_NONE)
        return;
    const int32_t out1 = m.players[0].out_tick, out2 = m.players[1].out_tick;
    int32_t result = RESULT_NONE;
    if (out1 >= 0 && out2 >= 0) {
        int32_t apart = out1 > out2 ? out1 - out2 : out2 - out1;
        // Past the window the result was decided when the window closed.
        result = apart <= DRAW_WINDOW_TICKS ? RESULT_DRAW : out1 < out2 ? RESULT_P2_WINS
                                                                         : RESULT_P1_WINS;
    } else if (out1 >= 0 && m.tick - out1 >= DRAW_WINDOW_TICKS) {
        result = RESULT_P2_WINS;
    } else if (out2 >= 0 && m.tick - out2 >= DRAW_WINDOW_TICKS) {
        result = RESULT_P1_WINS;
    }
    if (result != RESULT_NONE) {
        m.result = result;
        m.result_tick = m.tick;
        match_sound(m, SOUND_RESULT, SOUND_CENTRE_X);
    }
}

uint64_t fold_controls(uint64_t digest, control_word p1, control_word p2)
{
    digest ^= uint64_t(p1) | uint64_t(p2) << 8;
    digest *= 0x100000001b3ull;   // FNV-1a's prime: every word moves every later bit
    return digest ^ (digest >> 29);
}

}  // namespace

void match_sound(match_state &m, int effect, int x)
{
    if (effect < 0 || effect >= SOUND_COUNT)
        return;
    // A hundred bombs in one chain are one louder start, not a hundred.
    sound_request &r = m.sounds.effects[effect];
    r.count += 1;
    r.x_sum += x;
}

void start_match_state(match_state &m, const int32_t board[LEVEL_COLUMNS][LEVEL_ROWS],
                       float anim_clock)
{
    std::memset(&m, 0, sizeof m);
    std::memcpy(m.board, board, sizeof m.board);
    static const int START_COL[2] = {P1_START_COL, P2_START_COL};
    static const int START_ROW[2] = {P1_START_ROW, P2_START_ROW};
    for (int i = 0; i < 2; i++) {
        player &p = m.players[i];
        p.x = cell_x(START_COL[i]);
        p.y = cell_y(START_ROW[i]);
        // The first tick's turns set the cell; until then it is the start cell.
        p.col = START_COL[i];
        p.row = START_ROW[i];
        p.speed = START_SPEED;
        p.facing = FACING_DOWN;
        p.energy = START_ENERGY;
        p.frame = 0.0;
        p.fire_delay = 0;
        p.weapon = WEAPON_BOMB;
        p.out_tick = -1;
    }
    clear_bombs(m);
    clear_explosions(m);
    m.anim_clock = anim_clock;
    m.leave_tick = -1;
    m.result = RESULT_NONE;
    m.result_tick = -1;
}

// The order is the game's rules. The fire delays count down first, for both
// players alive or not, so a delay of 12 set in one tick is 0 again before
// the twelfth tick after it. The weapons advance before anyone acts, so a
// blast placed this tick is already aged once when it drains energy at the
// end of the tick.
void match_tick(match_state &m, control_word p1, control_word p2)
{
    std::memset(&m.sounds, 0, sizeof m.sounds);
    m.controls_digest = fold_controls(m.controls_digest, p1, p2);

    for (player &p : m.players)
        if (p.fire_delay > 0)
            p.fire_delay -= 1;

    advance_bombs(m);
    advance_explosions(m);

    m.anim_clock += ANIM_CLOCK_STEP;
    if (m.anim_clock >= ANIM_CLOCK_WRAP)
        m.anim_clock = 0.0f;

    // The tick still runs to its end: both players act and take damage.
    if (((p1 | p2) & CONTROL_LEAVE) && m.leave_tick < 0)
        m.leave_tick = m.tick;

    const control_word words[2] = {p1, p2};
    for (int i = 0; i < 2; i++)
        if (m.players[i].energy > 0)
            player_turn(m, i, words[i]);

    drain_energy(m);

    for (player &p : m.players)
        if (p.frame > WALK_FRAME_LAST)
            p.frame = 0.0;

    decide_result(m);
    m.tick += 1;
}

uint64_t match_hash(const match_state &m)
{
    return XXH3_64bits(&m, sizeof m);
}
