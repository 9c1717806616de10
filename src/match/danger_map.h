// When and where blasts will be: every live bomb and missile run forward on
// its fuse, in the tick's own slot order, chains included, for the computer
// player to keep out of and to aim with. Ticks are counted from now: tick 1
// is the next one the match runs. A cell's danger is the ticks at whose end a
// player standing there would lose energy.
//
// Where the future is not known, the map errs toward danger: a missile is
// followed both as if it met the players standing where they are now and as
// if it flew past them, and a bomb that such a missile's blast would set off
// early is in danger both then and on its own fuse.
#pragma once

#include "match_state.h"

// Past the longest fuse and the blast that ends it.
constexpr int DANGER_HORIZON = 128;
constexpr int NO_DANGER = INT16_MAX;
// A cell remembers this many separate stretches of danger; more are joined.
constexpr int DANGER_SPANS = 4;
// Ticks an explosion hurts, from the tick it is placed in.
constexpr int BLAST_HURTS_TICKS = 15;

struct danger_span {
    int16_t from, to;   // both included
};

// A blast the map foresees: placed in `tick`, centred on (col, row).
struct danger_blast {
    int16_t tick;
    int16_t col, row;
    int8_t big;        // the big bomb's pattern, else the plus
    int8_t certain;    // 0: only if a player stays where a missile meets it
};
constexpr int DANGER_MAX_BLASTS = 4 * (BOMB_POOL_SIZE + 1);

// A weapon the viewer thinks of firing in the next tick, to see what it
// would do: type and the cell it starts on (a missile's, one cell ahead),
// the missile's step.
struct what_if {
    int type;
    int col, row;
    int dx, dy;
};

struct danger_map {
    uint8_t count[LEVEL_COLUMNS][LEVEL_ROWS];
    danger_span spans[LEVEL_COLUMNS][LEVEL_ROWS][DANGER_SPANS];
    danger_blast blasts[DANGER_MAX_BLASTS];
    int blast_count;
    // Explosions on the board now: their cell and the last tick they hurt.
    struct lingering {
        int16_t col, row, last;
    } lingering[EXPLOSION_POOL_SIZE];
    int lingering_count;
    // Working grids of the run, with a margin round the board for the
    // missiles and blasts that reach past its edge.
    static constexpr int MARGIN = 4;
    static constexpr int GRID_W = LEVEL_COLUMNS + 2 * MARGIN, GRID_H = LEVEL_ROWS + 2 * MARGIN;
    int16_t sets_off_until[GRID_W][GRID_H];
    int16_t may_set_off_until[GRID_W][GRID_H];
};

// The map of m as it stands, with `extra` fired in the next tick if given.
// chains false leaves out what blasts do to other weapons (a player who does
// not think that far).
void build_danger_map(danger_map &d, const match_state &m, const what_if *extra, bool chains = true);

// Is any danger on (col, row) during ticks from..to?
bool danger_between(const danger_map &d, int col, int row, int from, int to);
// The first tick at or after t with danger on the cell, or NO_DANGER.
int danger_after(const danger_map &d, int col, int row, int t);
// No danger on the cell from tick t on.
bool safe_from(const danger_map &d, int col, int row, int t);
// The energy a player standing on the cell for ticks from..to would lose:
// one a tick for every explosion on it, as the tick counts them.
int damage_between(const danger_map &d, int col, int row, int from, int to);
