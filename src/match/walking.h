// How a player's body really walks, for the computer player: the 12-pixel box
// tested at five points against the walls, 2 pixels a step, a one-cell
// corridor entered only from an aligned position. Walks are planned on cells,
// with the tick each cell is reached, and followed on pixels.
#pragma once

#include "match_state.h"

struct danger_map;

// The cell of the centre of a picture whose corner is at (x, y), as the
// tick's probe finds it (always on the board for a position a player holds).
int centre_col(int x);
int centre_row(int y);
// Where a player at (x, y) stands after one tick holding `held`: the
// directions in the tick's order, each tried on the position the one before
// it left.
void walk_one_tick(const match_state &m, int &x, int &y, control_word held);

constexpr int TICKS_PER_CELL = CELL_SIZE / START_SPEED;   // 6
constexpr int16_t UNREACHED = -1;

constexpr int cell_index(int col, int row) { return col * LEVEL_ROWS + row; }
constexpr int index_col(int index) { return index / LEVEL_ROWS; }
constexpr int index_row(int index) { return index % LEVEL_ROWS; }

// Every cell a player can walk to, the tick its centre gets there (counted
// from now) and the cell it comes from. With a danger map, a cell is entered
// only when no blast will be on it while the player passes through, `margin`
// ticks either side; without one, only the walls count. Cells farther than
// `farthest` ticks are left unreached. `order` holds the reached cells in the
// order they were found, which is the order of arrival but for a tick or two.
// With `find_refuge` the plan also looks for the nearest cell no blast will
// touch once the player is there, and ends soon after finding it.
constexpr int ANY_DISTANCE = INT16_MAX - 64;
struct walk_grid {
    int16_t arrive[LEVEL_COLUMNS][LEVEL_ROWS];
    int16_t from[LEVEL_COLUMNS][LEVEL_ROWS];   // cell_index before, -1 at the start
    int16_t order[LEVEL_CELLS];
    int reached;
    int start_col, start_row;
    int refuge;                                // cell_index, or -1
};
void plan_walks(walk_grid &g, const match_state &m, int x, int y, const danger_map *danger,
                int start_tick, int margin, int farthest = ANY_DISTANCE, bool find_refuge = false);

// A way from the start cell of a plan to its goal, followed a tick at a time.
struct walk_path {
    int16_t cells[LEVEL_CELLS];   // cell_index, start first
    int length;                   // 0: no path
    int at;                       // index of the cell the player stands in
};
// The way to (col, row) in g; false (and an empty path) if it was not reached.
bool path_to(const walk_grid &g, int col, int row, walk_path &out);

// One tick along the path for a player at (x, y): toward the next cell,
// lined up across the way first where a wall demands it; on the last cell,
// onto its exact position. 0 once there. `off_path` is set when the player
// stands in no cell of the path ahead.
control_word steer(int x, int y, walk_path &path, bool &off_path);
