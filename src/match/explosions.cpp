// The explosion pool and the two blast patterns.
#include "platform.h"
#include "match.h"

explosion explosions[EXPLOSION_POOL_SIZE];

namespace {

constexpr int EXPLOSION_LIFE = 16;
constexpr double EXPLOSION_FRAME_STEP = 0.5;

struct offset { int dc, dr; };

// Centre first, then left, up, right, down. The order decides which records
// a nearly full pool still takes.
constexpr offset PLUS_BLAST[] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};

// The 5 x 5 square around the centre and the four cells three steps out
// along the axes, from the centre outward.
constexpr offset BIG_BLAST[] = {
    {0, 0},   {-1, 0},  {0, -1},  {1, 0},   {0, 1},   {-1, -1}, {1, 1},   {1, -1},
    {-1, 1},  {-2, 0},  {2, 0},   {0, 2},   {0, -2},  {-2, 1},  {-2, -1}, {-1, 2},
    {-1, -2}, {2, 1},   {2, -1},  {1, 2},   {1, -2},  {-2, -2}, {2, 2},   {-2, 2},
    {2, -2},  {-3, 0},  {3, 0},   {0, 3},   {0, -3},
};
static_assert(sizeof(BIG_BLAST) / sizeof(BIG_BLAST[0]) == 29, "the big blast covers 29 cells");

}  // namespace

// Empty the pool at the start of a match; frame is set by every spawn.
void clear_explosions()
{
    for (explosion &e : explosions) {
        e.active = 0;
        e.col = e.row = 0;
        e.life = 0;
    }
}

// One explosion on a cell, on or off the board, in the lowest free slot; a
// full pool drops it.
void spawn_explosion(int col, int row)
{
    for (explosion &e : explosions) {
        if (e.active == 0) {
            e.active = 1;
            e.col = col;
            e.row = row;
            e.life = EXPLOSION_LIFE;
            e.frame = 0.0;
            return;
        }
    }
}

// One tick of the explosion pool: each record lives for 16 advances.
void advance_explosions()
{
    for (explosion &e : explosions) {
        if (e.active != 1)
            continue;
        e.frame += EXPLOSION_FRAME_STEP;
        e.life -= 1;
        if (e.life <= 0)
            e.active = 0;
    }
}

// Blasts ignore the board: walls, cells behind them and cells off the board
// all take their explosion.
void plus_blast(int col, int row)
{
    for (const offset &o : PLUS_BLAST)
        spawn_explosion(col + o.dc, row + o.dr);
}

void big_blast(int col, int row)
{
    for (const offset &o : BIG_BLAST)
        spawn_explosion(col + o.dc, row + o.dr);
}

// Opaque, in slot order: explosions cover whatever lies on their cells, and
// later slots cover earlier ones. Off-board cells are clipped by the target.
void draw_explosions(BITMAP *target)
{
    for (const explosion &e : explosions) {
        if (e.active != 1)
            continue;
        blit(game_bitmap(OBJ_EXPLOSION_FIRST + static_cast<int>(e.frame)), target, 0, 0,
             cell_x(e.col), cell_y(e.row), CELL_SIZE, CELL_SIZE);
    }
}
