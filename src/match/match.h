// The match: the player records, the bomb and explosion pools, the fixed-rate
// tick and the drawing of a running match.
#pragma once

#include <allegro.h>
#include <cstdint>

#include "game_state.h"

constexpr int WEAPON_BOMB = 0;
constexpr int WEAPON_MISSILE = 1;
constexpr int WEAPON_BIG_BOMB = 2;

constexpr int FACING_UP = 0;
constexpr int FACING_RIGHT = 1;
constexpr int FACING_DOWN = 2;
constexpr int FACING_LEFT = 3;

// Slots of a player's keys table.
constexpr int KEY_SLOT_UP = 0;
constexpr int KEY_SLOT_DOWN = 1;
constexpr int KEY_SLOT_LEFT = 2;
constexpr int KEY_SLOT_RIGHT = 3;
constexpr int KEY_SLOT_FIRE = 4;
constexpr int KEY_SLOT_CHANGE = 5;
constexpr int KEY_SLOT_SPECIAL = 6;
constexpr int KEY_SLOTS = 7;

constexpr int NAME_SIZE = 12;   // 11 characters and the NUL
constexpr int START_ENERGY = 130;
constexpr int START_SPEED = 2;      // pixels per held direction key per tick

struct player {
    char name[NAME_SIZE];
    BITMAP *sprite;     // 12 x 12, rebuilt every match frame
    int32_t x, y;       // top-left pixel of the sprite
    int32_t col, row;   // cell of the centre point, -1 when in none
    double frame;       // walk animation, 0.0..7.0 between ticks
    int32_t energy;
    int32_t facing;
    int32_t speed;
    int32_t weapon;
    int32_t fire_delay;
    int32_t keys[KEY_SLOTS];  // Allegro 4.4 key numbers
};

extern player players[2];

struct bomb {
    int32_t active;
    int32_t type;       // WEAPON_*
    int32_t col, row;   // a missile's cell may lie off the board
    int32_t dx, dy;
    int32_t fuse;
    double frame;
};

struct explosion {
    int32_t active;
    int32_t col, row;
    int32_t life;
    double frame;
};

constexpr int BOMB_POOL_SIZE = 100;
constexpr int EXPLOSION_POOL_SIZE = 1000;
extern bomb bombs[BOMB_POOL_SIZE];
extern explosion explosions[EXPLOSION_POOL_SIZE];

// The energy bars' colours: 0..50 the red band, 51..101 the green band.
extern int energy_colors[102];
void build_energy_colors();

// ---- bombs and explosions ------------------------------------------------
void clear_bombs();
void clear_explosions();
void spawn_bomb(int col, int row, int type, int player_index);
void spawn_explosion(int col, int row);
void advance_bombs();
void advance_explosions();
int cell_blocked(int col, int row);
void draw_bombs(BITMAP *target);
void draw_explosions(BITMAP *target);
// The two blast patterns; neither is clipped to the board.
void plus_blast(int col, int row);
void big_blast(int col, int row);

// ---- players --------------------------------------------------------------
// Player i's turn of a tick: walk, fire, change weapon.
void player_turn(int player_index);
// What one player holds, keys and pad merged; the tick's only view of input.
struct controls {
    bool up, down, left, right, fire, change;
};
controls player_controls(int player_index);
// After a weapon change: the change control acts again only on a new press.
void use_up_change(int player_index);
int probe_player_cell(int x, int y, int player_index);

// ---- the tick (tick.cpp) ---------------------------------------------------
// One 25 ms step of the match, whole: the loop, the tests, the fuzzers, the
// soak and the benchmarks all run the simulation through this one call.
void match_tick();

// ---- starting and running a match ----------------------------------------
// Everything a match starts from: both players on their start cells with
// their start values and the small bomb, both pools empty, no tick owed and
// no sound waiting. The board is the caller's.
void start_match();
// One match until Esc: starts the timers, sets the match up, runs
// before_play (New Game's choice of level, whose time is then played back
// tick by tick before the first frame) and loops until a tick raises
// leave_mode; then stops the timers and lowers the flag.
void run_match(void (*before_play)() = nullptr);
void tick_timer_callback();
void fps_timer_callback();
// One pass of the match loop: every pending tick, then one frame. Returns the
// number of ticks it simulated.
int match_loop_pass();
void render_match_frame();
