// The match as one plain value: the board it is played on, both players,
// both pools, the animation clock and the tick count, without a pointer in
// it. Copying it is a snapshot, copying it back restores it, and
// match_hash() names it. match_tick() advances it from two control words
// and reads nothing else, so a match replays, rolls back and tests headless.
#pragma once

#include <cstdint>

#include "level.h"
#include "sound.h"

constexpr int WEAPON_BOMB = 0;
constexpr int WEAPON_MISSILE = 1;
constexpr int WEAPON_BIG_BOMB = 2;

constexpr int FACING_UP = 0;
constexpr int FACING_RIGHT = 1;
constexpr int FACING_DOWN = 2;
constexpr int FACING_LEFT = 3;

constexpr int START_ENERGY = 130;
constexpr int START_SPEED = 2;      // pixels per held direction key per tick
constexpr int TICKS_PER_SECOND = 40;

// ---- one player's controls in one tick ------------------------------------
// The only input the match has. Direction and fire are held; change is a
// press (it acts once per word that carries it, and the keyboard sends it
// once per key press); leave is Esc, which ends the match after the tick.
using control_word = uint8_t;
constexpr control_word CONTROL_UP = 1u << 0;
constexpr control_word CONTROL_DOWN = 1u << 1;
constexpr control_word CONTROL_LEFT = 1u << 2;
constexpr control_word CONTROL_RIGHT = 1u << 3;
constexpr control_word CONTROL_FIRE = 1u << 4;
constexpr control_word CONTROL_CHANGE = 1u << 5;
constexpr control_word CONTROL_LEAVE = 1u << 6;
constexpr control_word CONTROL_ALL = 0x7f;

// ---- the records ------------------------------------------------------------
// Every field is a whole 32 or 64 bits in an order that leaves no padding, so
// the bytes of two equal states are equal and the hash can read them as
// they lie (static_asserts in tick.cpp hold the layouts to that).
struct player {
    int32_t x, y;       // top-left pixel of the picture
    int32_t col, row;   // cell of the centre point, -1 when in none
    double frame;       // walk animation, 0.0..7.0 between ticks
    int32_t energy;
    int32_t facing;
    int32_t speed;
    int32_t weapon;
    int32_t fire_delay;
    int32_t damage;     // energy lost in the last tick: the drawing flashes it
    int32_t out_tick;   // the tick whose damage put the player out, -1 while in
    int32_t hit_wait;   // ticks until another hit may be heard
};

struct bomb {
    int32_t active;
    int32_t type;       // WEAPON_*
    int32_t col, row;   // a missile's cell may lie off the board
    int32_t dx, dy;
    int32_t fuse;
    int32_t owner;      // the player who fired it
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

// The match's outcome, decided by the tick (see decide_result in tick.cpp).
constexpr int32_t RESULT_NONE = 0;
constexpr int32_t RESULT_P1_WINS = 1;
constexpr int32_t RESULT_P2_WINS = 2;
constexpr int32_t RESULT_DRAW = 3;
// Both out within this many ticks of each other is a draw.
constexpr int32_t DRAW_WINDOW_TICKS = TICKS_PER_SECOND;

// The sounds of the last tick: which effect, how often, where. The loop
// hands them to the sound device after a tick it runs for the first time.
struct tick_sounds {
    sound_request effects[SOUND_COUNT];
};

struct match_state {
    int32_t board[LEVEL_COLUMNS][LEVEL_ROWS];
    player players[2];
    bomb bombs[BOMB_POOL_SIZE];
    explosion explosions[EXPLOSION_POOL_SIZE];
    // Every slot below these is in use: the lowest free slot is searched
    // from here. Pure speed, the same slots as a search from 0.
    int32_t bomb_search_from;
    int32_t explosion_search_from;
    float anim_clock;    // 0.0 .. 7.75, the animated tiles' and missiles' frame
    int32_t tick;        // ticks run so far
    int32_t leave_tick;  // the first tick a word said leave, -1 before
    int32_t result;      // RESULT_*
    int32_t result_tick; // when the result was decided, -1 before
    int32_t reserved;
    // Every control word this match was given, folded in order: two matches
    // that were told different things never share a hash, even where the
    // words changed nothing on the board.
    uint64_t controls_digest;
    tick_sounds sounds;
};

// A fresh match on this board: both players on their start cells with their
// start values and the small bomb, both pools empty, the tick count 0. The
// animation clock goes on from where the last match left it.
void start_match_state(match_state &m, const int32_t board[LEVEL_COLUMNS][LEVEL_ROWS],
                       float anim_clock);

// One 25 ms step, whole, in the game's order. Reads the state and the two
// words and nothing else.
void match_tick(match_state &m, control_word p1, control_word p2);

// A 64-bit name of the state (XXH3 of its bytes).
uint64_t match_hash(const match_state &m);

// ---- the parts of the tick, for the tests of each room ---------------------
void clear_bombs(match_state &m);
void clear_explosions(match_state &m);
void spawn_bomb(match_state &m, int col, int row, int type, int player_index);
void spawn_explosion(match_state &m, int col, int row);
void advance_bombs(match_state &m);
void advance_explosions(match_state &m);
int cell_blocked(const match_state &m, int col, int row);
// The two blast patterns; neither is clipped to the board.
void plus_blast(match_state &m, int col, int row);
void big_blast(match_state &m, int col, int row);
void player_turn(match_state &m, int player_index, control_word held);
int probe_player_cell(match_state &m, int x, int y, int player_index);
// The tick's test of a position, which the computer's plans share: may a
// player whose picture's top-left corner is at (x, y) stand there?
bool box_fits(const match_state &m, int x, int y);
// The blast patterns' cells, for whoever needs to know where a blast will be.
struct cell_offset { int dc, dr; };
extern const cell_offset PLUS_BLAST_CELLS[5];
extern const cell_offset BIG_BLAST_CELLS[29];
// What a tick makes heard, recorded in m.sounds.
void match_sound(match_state &m, int effect, int x);
