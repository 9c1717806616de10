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

void clear_board(int32_t tile)
{
    for (auto &column : board)
        for (auto &cell : column)
            cell = tile;
}
