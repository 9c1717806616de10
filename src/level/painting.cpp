// The editor's painting, on whichever board it is handed.
#include "painting.h"

#include <array>
#include <cstdlib>

#include "catalogue.h"

bool is_start_cell(int col, int row)
{
    return (col == P1_START_COL && row == P1_START_ROW) ||
           (col == P2_START_COL && row == P2_START_ROW);
}

void paint_cell(board_cells &b, int col, int row, int tile, bool mirror)
{
    if (col < 0 || col >= LEVEL_COLUMNS || row < 0 || row >= LEVEL_ROWS)
        return;
    if (!is_start_cell(col, row))
        b[col][row] = tile;
    if (mirror && !is_start_cell(mirror_col(col), mirror_row(row)))
        b[mirror_col(col)][mirror_row(row)] = tile;
}

// Sequential fills give the same picture as two fills of the board as it
// was: the first recolours only its own region, so the mirror's region is
// either untouched or already part of it (then the second finds its tile
// and does nothing).
void fill_region(board_cells &b, int col, int row, int tile, bool mirror)
{
    flood_fill(b, col, row, tile);
    if (mirror)
        flood_fill(b, mirror_col(col), mirror_row(row), tile);
}

// Bresenham's line over cells: each step moves to one of the eight
// neighbours, so the painted line has no gaps.
void paint_stroke(board_cells &b, int col0, int row0, int col1, int row1, int tile, bool mirror)
{
    int dc = std::abs(col1 - col0), dr = -std::abs(row1 - row0);
    int sc = col0 < col1 ? 1 : -1, sr = row0 < row1 ? 1 : -1;
    int err = dc + dr;
    for (;;) {
        paint_cell(b, col0, row0, tile, mirror);
        if (col0 == col1 && row0 == row1)
            return;
        int e2 = 2 * err;
        if (e2 >= dr) {
            err += dr;
            col0 += sc;
        }
        if (e2 <= dc) {
            err += dc;
            row0 += sr;
        }
    }
}

// Recolours the 4-connected region of equal tiles around (col, row).
// A depth-first walk visiting left, up, right, down in turn; the explicit
// stack holds one frame per recoloured cell, so even a fill of the whole
// board (1802 cells) fits in a fixed array.
void flood_fill(board_cells &b, int col, int row, int tile)
{
    if (col < 0 || col >= LEVEL_COLUMNS || row < 0 || row >= LEVEL_ROWS)
        return;
    const int32_t target = b[col][row];
    if (target == tile)
        return;

    struct frame {
        int16_t col, row;
        int16_t next;   // neighbour to visit next, 0..3; 4 when done
    };
    static constexpr int step_col[4] = {-1, 0, 1, 0};
    static constexpr int step_row[4] = {0, -1, 0, 1};
    // Every pushed cell is recoloured first and so can never be pushed
    // again: the depth never exceeds the board's cell count.
    std::array<frame, LEVEL_CELLS> stack;
    int depth = 0;

    auto enter = [&](int c, int r) {
        if (c < 0 || c >= LEVEL_COLUMNS || r < 0 || r >= LEVEL_ROWS)
            return;
        if (b[c][r] != target)
            return;
        b[c][r] = tile;
        stack[depth++] = {static_cast<int16_t>(c), static_cast<int16_t>(r), 0};
    };

    enter(col, row);
    while (depth > 0) {
        frame &top = stack[depth - 1];
        if (top.next == 4) {
            depth--;
            continue;
        }
        int d = top.next++;
        enter(top.col + step_col[d], top.row + step_row[d]);
    }
}
