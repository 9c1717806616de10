// The editor's painting of a board: the pen, its lines, the flood fill and
// the mirror, with no screen and no pointer. The editor paints the level
// board with them; anything else may paint a board of its own.
#pragma once

#include <cstdint>

#include "level.h"

using board_cells = int32_t[LEVEL_COLUMNS][LEVEL_ROWS];

// Mirror painting: every pen cell and fill also happens at the cell
// point-symmetric about the board's centre, as the two start corners are.
constexpr int mirror_col(int col) { return LEVEL_COLUMNS - 1 - col; }
constexpr int mirror_row(int row) { return LEVEL_ROWS - 1 - row; }
bool is_start_cell(int col, int row);

// The pen never paints a start cell; cells off the board are left alone.
void paint_cell(board_cells &b, int col, int row, int tile, bool mirror);
// Every cell of the straight line from one cell to another, both included.
void paint_stroke(board_cells &b, int col0, int row0, int col1, int row1, int tile, bool mirror);
// The flood fill at (col, row), and at its mirror cell when asked.
void fill_region(board_cells &b, int col, int row, int tile, bool mirror);
// Recolours the region of equal tiles joined by edges around (col, row).
void flood_fill(board_cells &b, int col, int row, int tile);
