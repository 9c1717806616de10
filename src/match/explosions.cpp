// The explosion pool and the two blast patterns.
#include "match_state.h"

namespace {

constexpr int EXPLOSION_LIFE = 16;
constexpr double EXPLOSION_FRAME_STEP = 0.5;

}  // namespace

// Centre first, then left, up, right, down. The order decides which records
// a nearly full pool still takes.
const cell_offset PLUS_BLAST_CELLS[5] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};

// The 5 x 5 square around the centre and the four cells three steps out
// along the axes, from the centre outward.
const cell_offset BIG_BLAST_CELLS[29] = {
    {0, 0},   {-1, 0},  {0, -1},  {1, 0},   {0, 1},   {-1, -1}, {1, 1},   {1, -1},
    {-1, 1},  {-2, 0},  {2, 0},   {0, 2},   {0, -2},  {-2, 1},  {-2, -1}, {-1, 2},
    {-1, -2}, {2, 1},   {2, -1},  {1, 2},   {1, -2},  {-2, -2}, {2, 2},   {-2, 2},
    {2, -2},  {-3, 0},  {3, 0},   {0, 3},   {0, -3},
};

// Empty the pool at the start of a match; frame is set by every spawn.
void clear_explosions(match_state &m)
{
    for (explosion &e : m.explosions) {
        e.active = 0;
        e.col = e.row = 0;
        e.life = 0;
    }
    m.explosion_search_from = 0;
}

// One explosion on a cell, on or off the board, in the lowest free slot; a
// full pool drops it. The search starts past the slots known to be taken,
// so a chain of a hundred blasts into a full pool costs no search at all.
void spawn_explosion(match_state &m, int col, int row)
{
    for (int slot = m.explosion_search_from; slot < EXPLOSION_POOL_SIZE; slot++) {
        explosion &e = m.explosions[slot];
        if (e.active == 0) {
            e.active = 1;
            e.col = col;
            e.row = row;
            e.life = EXPLOSION_LIFE;
            e.frame = 0.0;
            m.explosion_search_from = slot + 1;
            return;
        }
    }
    m.explosion_search_from = EXPLOSION_POOL_SIZE;
}

// One tick of the explosion pool: each record lives for 16 advances.
void advance_explosions(match_state &m)
{
    for (int slot = 0; slot < EXPLOSION_POOL_SIZE; slot++) {
        explosion &e = m.explosions[slot];
        if (e.active != 1)
            continue;
        e.frame += EXPLOSION_FRAME_STEP;
        e.life -= 1;
        if (e.life <= 0) {
            e.active = 0;
            if (slot < m.explosion_search_from)
                m.explosion_search_from = slot;
        }
    }
}

// Blasts ignore the board: walls, cells behind them and cells off the board
// all take their explosion.
void plus_blast(match_state &m, int col, int row)
{
    for (const cell_offset &o : PLUS_BLAST_CELLS)
        spawn_explosion(m, col + o.dc, row + o.dr);
}

void big_blast(match_state &m, int col, int row)
{
    for (const cell_offset &o : BIG_BLAST_CELLS)
        spawn_explosion(m, col + o.dc, row + o.dr);
}
