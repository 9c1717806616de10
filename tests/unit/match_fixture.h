// A match in progress for the tests of the match's rooms: default bindings,
// small bombs selected, both players on their start cells, the keyboard as
// both players' controls. Inside these tests `players`, `bombs`,
// `explosions`, `board` and `anim_clock` are the running match's own, and
// the pools' and the probe's operations work on it, so the rules read as
// the game states them.
#pragma once

#include "harness.h"

class MatchTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        use_default_bindings();
        match_sources[0] = match_sources[1] = KEYBOARD_SOURCE;
        live_match.anim_clock = 0.0f;
    }

    static inline match_state &m = live_match;
    static inline player (&players)[2] = live_match.players;
    static inline bomb (&bombs)[BOMB_POOL_SIZE] = live_match.bombs;
    static inline explosion (&explosions)[EXPLOSION_POOL_SIZE] = live_match.explosions;
    static inline int32_t (&board)[LEVEL_COLUMNS][LEVEL_ROWS] = live_match.board;
    static inline float &anim_clock = live_match.anim_clock;

    // Ticks of the running match, the controls read from key[] and the pads
    // as the loop reads them.
    static void ticks(int n)
    {
        for (int i = 0; i < n; i++)
            run_one_tick();
    }

    // Ticks with these words and nothing from the keyboard.
    static void ticks_with(int n, control_word p1, control_word p2)
    {
        for (int i = 0; i < n; i++)
            match_tick(live_match, p1, p2);
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

    // The room's operations on the running match.
    static void clear_bombs() { ::clear_bombs(live_match); }
    static void clear_explosions() { ::clear_explosions(live_match); }
    static void spawn_bomb(int col, int row, int type, int p) { ::spawn_bomb(live_match, col, row, type, p); }
    static void spawn_explosion(int col, int row) { ::spawn_explosion(live_match, col, row); }
    static void advance_bombs() { ::advance_bombs(live_match); }
    static void advance_explosions() { ::advance_explosions(live_match); }
    static int cell_blocked(int col, int row) { return ::cell_blocked(live_match, col, row); }
    static void plus_blast(int col, int row) { ::plus_blast(live_match, col, row); }
    static void big_blast(int col, int row) { ::big_blast(live_match, col, row); }
    static int probe_player_cell(int x, int y, int p) { return ::probe_player_cell(live_match, x, y, p); }
    static void render_match_frame() { ::render_match_frame(live_match); }
    static void draw_bombs(BITMAP *target) { ::draw_bombs(target, live_match); }
    static void draw_explosions(BITMAP *target) { ::draw_explosions(target, live_match); }
};
