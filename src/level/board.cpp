// The board and what a tile id means.
#include "level.h"

#include "catalogue.h"

int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];

bool is_wall_tile(int32_t tile)
{
    return is_wall_tile_id(tile);
}

int tile_picture(int32_t tile)
{
    // A level file may hold any integer; never index the datafile with it.
    return (tile >= 0 && tile < TILE_COUNT) ? tile : OBJ_TILE_FIRST;
}

// Breadth first from player 1's start; each cell enters the queue once, so
// the fixed queue of one entry per cell never overflows.
bool start_cells_joined()
{
    bool seen[LEVEL_COLUMNS][LEVEL_ROWS] = {};
    struct cell {
        int16_t col, row;
    };
    cell queue[LEVEL_CELLS];
    int head = 0, tail = 0;
    queue[tail++] = {P1_START_COL, P1_START_ROW};
    seen[P1_START_COL][P1_START_ROW] = true;
    static constexpr int step_col[4] = {-1, 0, 1, 0};
    static constexpr int step_row[4] = {0, -1, 0, 1};
    while (head < tail) {
        cell c = queue[head++];
        if (c.col == P2_START_COL && c.row == P2_START_ROW)
            return true;
        for (int d = 0; d < 4; d++) {
            int col = c.col + step_col[d], row = c.row + step_row[d];
            if (col < 0 || col >= LEVEL_COLUMNS || row < 0 || row >= LEVEL_ROWS || seen[col][row])
                continue;
            bool start = col == P2_START_COL && row == P2_START_ROW;
            if (!start && is_wall_tile(board[col][row]))
                continue;
            seen[col][row] = true;
            queue[tail++] = {static_cast<int16_t>(col), static_cast<int16_t>(row)};
        }
    }
    return false;
}

void clear_board(int32_t tile)
{
    for (auto &column : board)
        for (auto &cell : column)
            cell = tile;
}
