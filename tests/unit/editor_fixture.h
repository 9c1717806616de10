// The editor as a run of it leaves it for the tests of its rooms: the pen
// selected, tile 1 on the left button and floor on the right, mirror
// painting off and no test-play hooked in.
#pragma once

#include "harness.h"

class EditorTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        fill_mode = PEN_MODE;
        left_tile = 1;
        right_tile = 0;
        mirror_mode = 0;
        play_test_match = nullptr;
    }
    void TearDown() override
    {
        mirror_mode = 0;
        play_test_match = nullptr;
    }

    // One editor frame with the pointer at a pixel and these buttons held.
    static void frame_at(int x, int y, int buttons)
    {
        set_mouse(x, y, buttons);
        editor_frame();
    }

    // One editor frame with key k pressed, then let go.
    static void press(int k)
    {
        key[k] = 1;
        editor_frame();
        key[k] = 0;
    }

    static int count_cells(int tile)
    {
        int n = 0;
        for (auto &column : board)
            for (int32_t cell : column)
                n += cell == tile;
        return n;
    }
};

// Centre of a board cell on the screen.
inline int cx(int col) { return cell_x(col) + CELL_SIZE / 2; }
inline int cy(int row) { return cell_y(row) + CELL_SIZE / 2; }
