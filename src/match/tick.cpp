// The match tick: the whole 25 ms step of the simulation, in the game's
// order. Nothing else advances the match; the loop, the tests, the fuzzers,
// the soak and the benchmarks all call match_tick.
#include "platform.h"
#include "match.h"

float anim_clock = 0.0f;

namespace {

constexpr float ANIM_CLOCK_STEP = 0.25f, ANIM_CLOCK_WRAP = ANIM_CLOCK_FRAMES;
constexpr double WALK_FRAME_LAST = WALK_FRAMES - 1;

// Every explosion on a player's cell counts, and a player who is out is
// still hit on the cell of its last turn.
void drain_energy()
{
    const int32_t energy_before[2] = {players[0].energy, players[1].energy};
    for (const explosion &e : explosions) {
        if (e.active != 1)
            continue;
        if (e.col == players[0].col && e.row == players[0].row)
            players[0].energy -= 1;
        if (e.col == players[1].col && e.row == players[1].row)
            players[1].energy -= 1;
    }
    for (int i = 0; i < 2; i++)
        note_damage(i, energy_before[i], players[i].energy, players[i].x + CELL_SIZE / 2);
}

}  // namespace

// The order is the game's rules. The fire delays count down first, for both
// players alive or not, so a delay of 12 set in one tick is 0 again before
// the twelfth tick after it. The weapons advance before anyone acts, so a
// blast placed this tick is already aged once when it drains energy at the
// end of the tick.
void match_tick()
{
    for (player &p : players)
        if (p.fire_delay > 0)
            p.fire_delay -= 1;

    advance_bombs();
    advance_explosions();

    anim_clock += ANIM_CLOCK_STEP;
    if (anim_clock >= ANIM_CLOCK_WRAP)
        anim_clock = 0.0f;

    // The tick still runs to its end: both players act and take damage.
    if (key_down(KEY_ESC))
        leave_mode = FLAG_RAISED;

    for (int i = 0; i < 2; i++)
        if (players[i].energy > 0)
            player_turn(i);

    drain_energy();

    for (player &p : players)
        if (p.frame > WALK_FRAME_LAST)
            p.frame = 0.0;
}
