// The bomb pool: small bombs and big bombs burning down on their cell, and
// missiles flying one cell per tick.
#include "match_state.h"

namespace {

constexpr int BOMB_FUSE = 50, MISSILE_FUSE = 20, BIG_BOMB_FUSE = 100;
constexpr int BOMB_DELAY = 12, MISSILE_DELAY = 6, BIG_BOMB_DELAY = 24;
constexpr double BOMB_FRAME_STEP = 0.12, BIG_BOMB_FRAME_STEP = 0.06;

bool explosion_on(const match_state &m, int col, int row)
{
    for (const explosion &e : m.explosions)
        if (e.active == 1 && e.col == col && e.row == row)
            return true;
    return false;
}

bool on_player_cell(const match_state &m, int col, int row)
{
    return (col == m.players[0].col && row == m.players[0].row) ||
           (col == m.players[1].col && row == m.players[1].row);
}

void free_bomb(match_state &m, bomb &b)
{
    b.active = 0;
    int slot = int(&b - m.bombs);
    if (slot < m.bomb_search_from)
        m.bomb_search_from = slot;
}

// A bomb's fuse and picture run down together; at the end it blasts.
void burn_down(match_state &m, bomb &b, double frame_step, int sound,
               void (*blast)(match_state &, int col, int row))
{
    b.frame += frame_step;
    b.fuse -= 1;
    if (b.fuse <= 0) {
        match_sound(m, sound, cell_x(b.col) + CELL_SIZE / 2);
        blast(m, b.col, b.row);
        free_bomb(m, b);
    }
}

// A missile goes off when it runs out of flight, hits a wall or the edge,
// or enters either player's cell - its own firer's too.
void advance_missile(match_state &m, bomb &b)
{
    b.fuse -= 1;
    if (b.fuse <= 0 || cell_blocked(m, b.col, b.row) != 0 || on_player_cell(m, b.col, b.row)) {
        match_sound(m, SOUND_MISSILE_HIT, cell_x(b.col - b.dx) + CELL_SIZE / 2);
        plus_blast(m, b.col - b.dx, b.row - b.dy);
        free_bomb(m, b);
    }
}

}  // namespace

// Empty the pool at the start of a match. frame is left alone: every spawn
// sets it.
void clear_bombs(match_state &m)
{
    for (bomb &b : m.bombs) {
        b.active = 0;
        b.type = 0;
        b.col = b.row = 0;
        b.dx = b.dy = 0;
        b.fuse = 0;
        b.owner = 0;
    }
    m.bomb_search_from = 0;
}

// A player fires: the lowest free slot takes the new weapon. A full pool
// drops the shot and leaves the fire delay as it was.
void spawn_bomb(match_state &m, int col, int row, int type, int player_index)
{
    bomb *b = nullptr;
    for (int slot = m.bomb_search_from; slot < BOMB_POOL_SIZE; slot++) {
        if (m.bombs[slot].active == 0) {
            b = &m.bombs[slot];
            m.bomb_search_from = slot + 1;
            break;
        }
    }
    if (!b) {
        m.bomb_search_from = BOMB_POOL_SIZE;
        return;
    }

    player &p = m.players[player_index];
    match_sound(m, type == WEAPON_MISSILE ? SOUND_MISSILE_LAUNCH : SOUND_BOMB_DROPPED,
                cell_x(col) + CELL_SIZE / 2);
    b->active = 1;
    b->type = type;
    b->col = col;
    b->row = row;
    b->dx = b->dy = 0;
    b->fuse = 0;
    b->owner = player_index;
    b->frame = 0.0;

    switch (type) {
    case WEAPON_BOMB:
        b->fuse = BOMB_FUSE;
        p.fire_delay = BOMB_DELAY;
        break;
    case WEAPON_BIG_BOMB:
        b->fuse = BIG_BOMB_FUSE;
        p.fire_delay = BIG_BOMB_DELAY;
        break;
    case WEAPON_MISSILE:
        b->fuse = MISSILE_FUSE;
        switch (p.facing) {
        case FACING_UP: b->dy = -1; break;
        case FACING_RIGHT: b->dx = 1; break;
        case FACING_DOWN: b->dy = 1; break;
        case FACING_LEFT: b->dx = -1; break;
        }
        p.fire_delay = MISSILE_DELAY;
        // The missile starts one cell ahead, unchecked: a wall directly in
        // front is flown through if the cell beyond it is free.
        b->col += b->dx;
        b->row += b->dy;
        break;
    }
}

// One tick of the bomb pool, in slot order. A blast placed here is seen by
// every later slot in this same pass, so a chain reaction reaches higher
// slots this tick and lower slots the next.
void advance_bombs(match_state &m)
{
    for (bomb &b : m.bombs) {
        if (b.active != 1)
            continue;
        // Tested on the cell the bomb holds before this tick's move.
        if (explosion_on(m, b.col, b.row))
            b.fuse = -1;
        b.col += b.dx;
        b.row += b.dy;

        switch (b.type) {
        case WEAPON_BOMB:
            burn_down(m, b, BOMB_FRAME_STEP, SOUND_SMALL_BLAST, plus_blast);
            break;
        case WEAPON_BIG_BOMB:
            burn_down(m, b, BIG_BOMB_FRAME_STEP, SOUND_BIG_BLAST, big_blast);
            break;
        case WEAPON_MISSILE:
            advance_missile(m, b);
            break;
        }
    }
}

// -1 for a cell off the board or holding a wall tile; the board is read only
// for cells on it.
int cell_blocked(const match_state &m, int col, int row)
{
    if (col < 0 || row < 0 || col >= LEVEL_COLUMNS || row >= LEVEL_ROWS)
        return -1;
    return is_wall_tile(m.board[col][row]) ? -1 : 0;
}
