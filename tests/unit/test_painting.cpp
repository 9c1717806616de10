// The editor's painting on a board of the test's own: no screen, no
// Allegro, no level board.
#include <gtest/gtest.h>

#include "painting.h"

namespace {

// The board is stored column by column, so the cell past a column's last
// row is the next column's first: a fill must stop at the bottom edge as
// firmly as at the sides.
TEST(Painting, FillStopsAtTheBottomEdge)
{
    board_cells b;
    for (auto &column : b)
        for (auto &cell : column)
            cell = 1;
    for (int r = 20; r < LEVEL_ROWS; r++)
        b[10][r] = 5;   // a strip down to the bottom edge
    b[11][0] = 5;       // just past it in memory, walled in on the board

    flood_fill(b, 10, 25, 7);

    EXPECT_EQ(b[10][LEVEL_ROWS - 1], 7);
    EXPECT_EQ(b[11][0], 5) << "leaked across the bottom edge into the next column";
}

}  // namespace
