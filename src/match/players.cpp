// The players: the two records, walking against the walls, firing and
// changing weapon, and the probe that finds a pixel's cell.
#include "platform.h"
#include "level.h"
#include "match.h"

player players[2];

namespace {

// The arena's pixel bounds for a probe. 638 and 410 lie one pixel past the
// last cell's picture, where the cell ranges share their border pixel.
constexpr int PROBE_MIN_X = 2, PROBE_MAX_X = 638;
constexpr int PROBE_MIN_Y = 2, PROBE_MAX_Y = 410;

constexpr double WALK_FRAME_STEP = 0.5;

// The five probe points of the box at (mx, my); stops at the first blocked one.
bool box_free(int mx, int my, int i)
{
    constexpr int NEAR = PLAYER_BOX_NEAR, FAR = PLAYER_BOX_FAR, MID = PLAYER_CENTRE;
    return probe_player_cell(mx + NEAR, my + NEAR, i) == 0 &&
           probe_player_cell(mx + NEAR, my + FAR, i) == 0 &&
           probe_player_cell(mx + FAR, my + FAR, i) == 0 &&
           probe_player_cell(mx + FAR, my + NEAR, i) == 0 &&
           probe_player_cell(mx + MID, my + MID, i) == 0;
}

// Each held direction key works on the position the keys before it left,
// so left+up walks diagonally and left+right cancels out.
void walk(player &p, int i, const controls &held)
{
    struct direction { bool controls::*held; int facing, dx, dy; };
    static constexpr direction DIRECTIONS[] = {
        {&controls::left, FACING_LEFT, -1, 0},
        {&controls::right, FACING_RIGHT, 1, 0},
        {&controls::up, FACING_UP, 0, -1},
        {&controls::down, FACING_DOWN, 0, 1},
    };
    for (const direction &d : DIRECTIONS) {
        if (!(held.*d.held))
            continue;
        p.facing = d.facing;
        int mx = p.x + d.dx * p.speed;
        int my = p.y + d.dy * p.speed;
        if (box_free(mx, my, i)) {
            p.x = mx;
            p.y = my;
        }
        // Walking into a wall still animates.
        p.frame += WALK_FRAME_STEP;
    }
}

bool bomb_on(int col, int row)
{
    for (const bomb &b : bombs)
        if (b.active == 1 && b.col == col && b.row == row)
            return true;
    return false;
}

}  // namespace

void player_turn(int i)
{
    player &p = players[i];
    // Read at the start of this player's own turn: a change key both players
    // share is already used up by player 1 when player 2's turn reads it.
    const controls held = player_controls(i);
    walk(p, i, held);
    // The probes above overwrote col/row; the centre's cell is the one the
    // rest of the match sees.
    probe_player_cell(p.x + PLAYER_CENTRE, p.y + PLAYER_CENTRE, i);

    // Any bomb or missile on the cell, whoever's, blocks firing. The fire key
    // is not consumed: holding it fires again as soon as the delay allows.
    if (p.fire_delay == 0 && held.fire && !bomb_on(p.col, p.row))
        spawn_bomb(p.col, p.row, p.weapon, i);

    // After firing, so a fire and a change in one tick fire the old weapon.
    // The control is used up so one press changes once; when both players
    // share the key, the first to act takes it.
    if (held.change) {
        p.weapon += 1;
        if (p.weapon > WEAPON_BIG_BOMB)
            p.weapon = WEAPON_BOMB;
        note_sound(SOUND_WEAPON_CHANGED, p.x + CELL_SIZE / 2);
        use_up_change(i);
    }
}

// Stores the cell of pixel (x, y) as player i's col/row (-1 where it lies in
// none) and returns -1 if the pixel is off the arena or on a wall, else 0.
int probe_player_cell(int x, int y, int player_index)
{
    player &p = players[player_index];
    // Neighbouring cells share their border pixel and the higher one wins,
    // which puts x 638 in column 52 and y 410 in row 33.
    p.col = (x >= PROBE_MIN_X && x <= PROBE_MAX_X) ? (x - BOARD_LEFT) / CELL_SIZE : -1;
    if (p.col >= LEVEL_COLUMNS)
        p.col = LEVEL_COLUMNS - 1;
    p.row = (y >= PROBE_MIN_Y && y <= PROBE_MAX_Y) ? (y - BOARD_TOP) / CELL_SIZE : -1;
    if (p.row >= LEVEL_ROWS)
        p.row = LEVEL_ROWS - 1;

    if (x < PROBE_MIN_X || y < PROBE_MIN_Y || x > PROBE_MAX_X || y > PROBE_MAX_Y)
        return -1;
    return is_wall_tile(board[p.col][p.row]) ? -1 : 0;
}
