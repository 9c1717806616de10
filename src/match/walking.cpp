// The computer's legs: the tick's own box test, breadth-first plans over
// cells with the tick each is reached, and steering along a plan on pixels.
#include "walking.h"

#include "danger_map.h"

namespace {

// A pixel's cell: neighbouring cells share their border pixel and the
// higher one wins, which puts x 638 in column 52 and y 410 in row 33.
int pixel_col(int px)
{
    int c = (px - BOARD_LEFT) / CELL_SIZE;
    return c >= LEVEL_COLUMNS ? LEVEL_COLUMNS - 1 : c < 0 ? 0 : c;
}

int pixel_row(int py)
{
    int r = (py - BOARD_TOP) / CELL_SIZE;
    return r >= LEVEL_ROWS ? LEVEL_ROWS - 1 : r < 0 ? 0 : r;
}

struct step {
    int dc, dr;
    control_word bit;
};
constexpr step STEPS[4] = {
    {-1, 0, CONTROL_LEFT}, {1, 0, CONTROL_RIGHT}, {0, -1, CONTROL_UP}, {0, 1, CONTROL_DOWN}};

int ceil_half(int px) { return px <= 0 ? 0 : (px + 1) / 2; }
int distance(int a, int b) { return a > b ? a - b : b - a; }

// Ticks until the centre of a player at (x, y) crosses into the next cell
// that way: lining up across the way first (the worst case, where a wall
// beside the way forbids doing both at once), then the pixels to the border.
// Leaving leftward or upward takes a step more than the other way, since a
// cell's first pixel is its own.
int first_step_ticks(int x, int y, int col, int row, const step &s)
{
    const int cx = x + PLAYER_CENTRE, cy = y + PLAYER_CENTRE;
    if (s.dc != 0) {
        int across = ceil_half(distance(y, cell_y(row)));
        int along = s.dc > 0 ? cell_x(col + 1) - cx : cx - cell_x(col) + 1;
        return across + ceil_half(along);
    }
    int across = ceil_half(distance(x, cell_x(col)));
    int along = s.dr > 0 ? cell_y(row + 1) - cy : cy - cell_y(row) + 1;
    return across + ceil_half(along);
}

bool walkable(const match_state &m, int col, int row)
{
    return col >= 0 && row >= 0 && col < LEVEL_COLUMNS && row < LEVEL_ROWS &&
           !is_wall_tile_id(m.board[col][row]);
}

}  // namespace

int centre_col(int x) { return pixel_col(x + PLAYER_CENTRE); }
int centre_row(int y) { return pixel_row(y + PLAYER_CENTRE); }

void walk_one_tick(const match_state &m, int &x, int &y, control_word held)
{
    for (const step &s : STEPS) {
        if (!(held & s.bit))
            continue;
        int mx = x + s.dc * START_SPEED, my = y + s.dr * START_SPEED;
        if (box_fits(m, mx, my)) {
            x = mx;
            y = my;
        }
    }
}

// Breadth-first by cells: each cell after the first costs the same six ticks
// straight on or round a corner (lining up for the turn takes the half cell
// that going straight would have taken), so the order of discovery is the
// order of arrival but for the first step's few ticks.
void plan_walks(walk_grid &g, const match_state &m, int x, int y, const danger_map *danger,
                int start_tick, int margin, int farthest, bool find_refuge)
{
    for (auto &column : g.arrive)
        for (int16_t &a : column)
            a = UNREACHED;
    const int c0 = centre_col(x), r0 = centre_row(y);
    g.start_col = c0;
    g.start_row = r0;
    g.arrive[c0][r0] = int16_t(start_tick);
    g.from[c0][r0] = -1;
    g.refuge = -1;
    find_refuge = find_refuge && danger;
    // A refuge is safe from a tick before the player gets there, for the
    // tick or two the plan's times may be out.
    auto note_refuge = [&](int c, int r, int t) {
        if (find_refuge && g.refuge < 0 && safe_from(*danger, c, r, t > 1 ? t - 1 : 1)) {
            g.refuge = cell_index(c, r);
            if (farthest > t + TICKS_PER_CELL)
                farthest = t + TICKS_PER_CELL;
        }
    };
    note_refuge(c0, r0, start_tick);

    int16_t *queue = g.order;
    int head = 0, tail = 0;
    queue[tail++] = int16_t(cell_index(c0, r0));
    while (head < tail) {
        const int here = queue[head++];
        const int c = index_col(here), r = index_row(here);
        for (const step &s : STEPS) {
            const int nc = c + s.dc, nr = r + s.dr;
            if (!walkable(m, nc, nr) || g.arrive[nc][nr] != UNREACHED)
                continue;
            const int t = here == cell_index(c0, r0) ? start_tick + first_step_ticks(x, y, c, r, s)
                                                     : g.arrive[c][r] + TICKS_PER_CELL;
            if (t > farthest)
                continue;
            if (danger && danger_between(*danger, nc, nr, t - margin, t + TICKS_PER_CELL + margin))
                continue;
            g.arrive[nc][nr] = int16_t(t);
            g.from[nc][nr] = int16_t(here);
            queue[tail++] = int16_t(cell_index(nc, nr));
            note_refuge(nc, nr, t);
        }
    }
    g.reached = tail;
}

bool path_to(const walk_grid &g, int col, int row, walk_path &out)
{
    out.length = 0;
    out.at = 0;
    if (col < 0 || row < 0 || col >= LEVEL_COLUMNS || row >= LEVEL_ROWS ||
        g.arrive[col][row] == UNREACHED)
        return false;
    int n = 0;
    for (int i = cell_index(col, row); i >= 0 && n < LEVEL_CELLS; i = g.from[index_col(i)][index_row(i)])
        out.cells[n++] = int16_t(i);
    for (int a = 0, b = n - 1; a < b; a++, b--) {
        int16_t t = out.cells[a];
        out.cells[a] = out.cells[b];
        out.cells[b] = t;
    }
    out.length = n;
    return true;
}

// Along the way to the next cell, and toward the line of the cell the player
// is in across it: the tick tries the way first, so where the way is open the
// two happen together and the player cuts the corner.
control_word steer(int x, int y, walk_path &path, bool &off_path)
{
    off_path = false;
    if (path.length == 0)
        return 0;
    const int here = cell_index(centre_col(x), centre_row(y));
    while (path.at + 1 < path.length && path.cells[path.at] != here) {
        // Stepped on ahead: catch up with the path.
        bool ahead = false;
        for (int i = path.at + 1; i < path.length && i <= path.at + 2; i++)
            ahead = ahead || path.cells[i] == here;
        if (!ahead)
            break;
        path.at++;
    }
    if (path.cells[path.at] != here) {
        off_path = true;
        return 0;
    }
    const int c = index_col(here), r = index_row(here);
    control_word w = 0;
    if (path.at + 1 >= path.length) {
        // The last cell: onto its exact position, ready for any way out.
        if (x < cell_x(c)) w |= CONTROL_RIGHT;
        if (x > cell_x(c)) w |= CONTROL_LEFT;
        if (y < cell_y(r)) w |= CONTROL_DOWN;
        if (y > cell_y(r)) w |= CONTROL_UP;
        return w;
    }
    const int next = path.cells[path.at + 1];
    const int dc = index_col(next) - c, dr = index_row(next) - r;
    if (dc != 0) {
        w |= dc > 0 ? CONTROL_RIGHT : CONTROL_LEFT;
        if (y < cell_y(r)) w |= CONTROL_DOWN;
        if (y > cell_y(r)) w |= CONTROL_UP;
    } else {
        w |= dr > 0 ? CONTROL_DOWN : CONTROL_UP;
        if (x < cell_x(c)) w |= CONTROL_RIGHT;
        if (x > cell_x(c)) w |= CONTROL_LEFT;
    }
    return w;
}
