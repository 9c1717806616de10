// The players' part of a tick: walking against the walls, firing and
// changing weapon, and the probe that finds a pixel's cell.
#include "match_state.h"

namespace {

// The arena's pixel bounds for a probe. 638 and 410 lie one pixel past the
// last cell's picture, where the cell ranges share their border pixel.
constexpr int PROBE_MIN_X = 2, PROBE_MAX_X = 638;
constexpr int PROBE_MIN_Y = 2, PROBE_MAX_Y = 410;

constexpr double WALK_FRAME_STEP = 0.5;

// The cell a probe pixel lies in, or -1 off the arena. Neighbouring cells
// share their border pixel and the higher one wins, which puts x 638 in
// column 52 and y 410 in row 33.
int probe_col(int x)
{
    if (x < PROBE_MIN_X || x > PROBE_MAX_X)
        return -1;
    int c = (x - BOARD_LEFT) / CELL_SIZE;
    return c >= LEVEL_COLUMNS ? LEVEL_COLUMNS - 1 : c;
}

int probe_row(int y)
{
    if (y < PROBE_MIN_Y || y > PROBE_MAX_Y)
        return -1;
    int r = (y - BOARD_TOP) / CELL_SIZE;
    return r >= LEVEL_ROWS ? LEVEL_ROWS - 1 : r;
}

bool pixel_free(const match_state &m, int x, int y)
{
    const int c = probe_col(x), r = probe_row(y);
    return c >= 0 && r >= 0 && !is_wall_tile_id(m.board[c][r]);
}

// Each held direction works on the position the ones before it left, so
// left+up walks diagonally and left+right cancels out.
void walk(match_state &m, int i, control_word held)
{
    struct direction { control_word bit; int facing, dx, dy; };
    static constexpr direction DIRECTIONS[] = {
        {CONTROL_LEFT, FACING_LEFT, -1, 0},
        {CONTROL_RIGHT, FACING_RIGHT, 1, 0},
        {CONTROL_UP, FACING_UP, 0, -1},
        {CONTROL_DOWN, FACING_DOWN, 0, 1},
    };
    player &p = m.players[i];
    for (const direction &d : DIRECTIONS) {
        if (!(held & d.bit))
            continue;
        p.facing = d.facing;
        int mx = p.x + d.dx * p.speed;
        int my = p.y + d.dy * p.speed;
        if (box_fits(m, mx, my)) {
            p.x = mx;
            p.y = my;
        }
        // Walking into a wall still animates.
        p.frame += WALK_FRAME_STEP;
    }
}

bool bomb_on(const match_state &m, int col, int row)
{
    for (const bomb &b : m.bombs)
        if (b.active == 1 && b.col == col && b.row == row)
            return true;
    return false;
}

}  // namespace

void player_turn(match_state &m, int i, control_word held)
{
    player &p = m.players[i];
    walk(m, i, held);
    // The probes above overwrote col/row; the centre's cell is the one the
    // rest of the match sees.
    probe_player_cell(m, p.x + PLAYER_CENTRE, p.y + PLAYER_CENTRE, i);

    // Any bomb or missile on the cell, whoever's, blocks firing. Fire is
    // held, not pressed: holding it fires again as soon as the delay allows.
    if (p.fire_delay == 0 && (held & CONTROL_FIRE) && !bomb_on(m, p.col, p.row))
        spawn_bomb(m, p.col, p.row, p.weapon, i);

    // After firing, so a fire and a change in one tick fire the old weapon.
    if (held & CONTROL_CHANGE) {
        p.weapon += 1;
        if (p.weapon > WEAPON_BIG_BOMB)
            p.weapon = WEAPON_BOMB;
        match_sound(m, SOUND_WEAPON_CHANGED, p.x + CELL_SIZE / 2);
    }
}

// The five probe points of the box at (x, y); stops at the first blocked one.
bool box_fits(const match_state &m, int x, int y)
{
    constexpr int NEAR = PLAYER_BOX_NEAR, FAR = PLAYER_BOX_FAR, MID = PLAYER_CENTRE;
    return pixel_free(m, x + NEAR, y + NEAR) && pixel_free(m, x + NEAR, y + FAR) &&
           pixel_free(m, x + FAR, y + FAR) && pixel_free(m, x + FAR, y + NEAR) &&
           pixel_free(m, x + MID, y + MID);
}

// Stores the cell of pixel (x, y) as player i's col/row (-1 where it lies in
// none) and returns -1 if the pixel is off the arena or on a wall, else 0.
int probe_player_cell(match_state &m, int x, int y, int player_index)
{
    player &p = m.players[player_index];
    p.col = probe_col(x);
    p.row = probe_row(y);
    return pixel_free(m, x, y) ? 0 : -1;
}
