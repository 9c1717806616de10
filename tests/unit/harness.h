// Headless test harness: Allegro without a system driver, memory bitmaps for
// the back buffer and the screen, the built datafiles loaded once per process.
#pragma once

#include <allegro.h>
#include <array>
#include <gtest/gtest.h>

#include "app.h"
#include "level.h"
#include "match.h"

// Every key released, the mouse at (0,0) with no button held.
void release_input();

// Set the pointer and buttons the way Allegro's mouse driver would.
void set_mouse(int x, int y, int buttons);

// Player p's seven bindings are these keys, slot by slot; a failure names
// every slot that differs.
::testing::AssertionResult bindings_are(int p, const std::array<int, KEY_SLOTS> &want);

// Fresh game state for one test: input released, board cleared, both sides
// played by people at this keyboard, players at
// their start values, pools empty, both menus on their first item with
// nothing chosen, no request to quit, saves without a write limit, no
// message shown, back buffer and screen black.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Colour of one pixel of a bitmap as (r, g, b).
struct rgb {
    int r, g, b;
    bool operator==(const rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};
rgb pixel_rgb(BITMAP *bmp, int x, int y);
std::ostream &operator<<(std::ostream &os, const rgb &c);
