// A match in progress for the tests of the match's rooms: default bindings,
// small bombs selected, both players on their start cells.
#pragma once

#include "harness.h"

class MatchTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        use_default_bindings();
        players[0].col = 0;
        players[0].row = 0;
        players[1].col = LEVEL_COLUMNS - 1;
        players[1].row = LEVEL_ROWS - 1;
        anim_clock = 0.0f;
    }

    static void ticks(int n)
    {
        for (int i = 0; i < n; i++)
            match_tick();
    }

    static void hold(int k) { key[k] = 1; }
    static void let_go(int k) { key[k] = 0; }

    // Puts player p with its top-left corner on cell (col, row).
    static void place(int p, int col, int row)
    {
        players[p].x = cell_x(col);
        players[p].y = cell_y(row);
        players[p].col = col;
        players[p].row = row;
    }

    static int active_bombs()
    {
        int n = 0;
        for (const bomb &b : bombs)
            n += b.active == 1;
        return n;
    }

    static int active_explosions()
    {
        int n = 0;
        for (const explosion &e : explosions)
            n += e.active == 1;
        return n;
    }

    static int explosions_on(int col, int row)
    {
        int n = 0;
        for (const explosion &e : explosions)
            n += e.active == 1 && e.col == col && e.row == row;
        return n;
    }
};
