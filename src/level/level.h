// Levels: the board and level files. The editor's painting is painting.h;
// the browser and the editor, screens of the shell, sit above the match.
#pragma once

#include <cstdint>

#include "walls.h"

constexpr int LEVEL_COLUMNS = 53;
constexpr int LEVEL_ROWS = 34;
constexpr int LEVEL_CELLS = LEVEL_COLUMNS * LEVEL_ROWS;  // 1802
constexpr int LEVEL_FILE_SIZE = LEVEL_CELLS * 4;         // 7208 bytes

// [column][row], laid out column by column exactly as a level file is.
extern int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];
extern int32_t level_buffer[LEVEL_CELLS];
extern char level_path[36];

constexpr const char *LEVEL_DIR = "levels";

// The rule for a board cell: any value that is not a tile id 0..29 is
// floor and is drawn as tile 0.
bool is_wall_tile(int32_t tile);
int tile_picture(int32_t tile);   // level.dat object number to draw the cell with

void clear_board(int32_t tile);
// Whether a player could walk from one start cell to the other, through
// cells that share an edge and hold no wall; the start cells count as floor.
bool start_cells_joined();
constexpr const char *UNREACHABLE_WARNING = "Players cannot reach each other";
void read_level(const char *path);
// 0 once the level is on disk, otherwise the errno that stopped the save
// (the file, if there was one, is then as it was).
int write_level(const char *path);
