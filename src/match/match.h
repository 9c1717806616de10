// The match: the player records, the bomb and explosion pools, the fixed-rate
// tick and the drawing of a running match.
#pragma once

#include <allegro.h>
#include <atomic>
#include <cstdint>

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

extern float anim_clock;   // 0.0 .. 7.75, never reset

// The energy bars' colours: 0..50 the red band, 51..101 the green band.
extern int energy_colors[102];
void build_energy_colors();

// Shared with the timer callbacks; nothing else crosses that boundary.
extern std::atomic<int32_t> pending_ticks;
extern std::atomic<int32_t> frames_drawn;
extern std::atomic<int32_t> fps;

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

// ---- players and the tick ------------------------------------------------
void match_tick();
int probe_player_cell(int x, int y, int player_index);

// ---- loop and drawing ----------------------------------------------------
void tick_timer_callback();
void fps_timer_callback();
void run_match();
// One pass of the match loop: every pending tick, then one frame. Returns the
// number of ticks it simulated.
int match_loop_pass();
void render_match_frame();
