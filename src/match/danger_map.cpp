// The danger map: the bomb pool run forward without the players, the way
// advance_bombs runs it, to learn when each weapon goes off and which cells
// its blast covers for how long.
#include "danger_map.h"

#include <cstring>

namespace {

constexpr int M = danger_map::MARGIN;
constexpr int16_t NEVER = -1;
// An explosion placed in tick j sets off weapons up to tick j + 15 (it is
// still there when the bombs advance in that tick) and hurts up to j + 14.
constexpr int SETS_OFF_TICKS = BLAST_HURTS_TICKS + 1;
// A missile about to enter a cell hits whoever stands there at the end of
// the tick before: the cell is unsafe for those ticks.
constexpr int MISSILE_WARNING_TICKS = 2;

bool on_grid(int c, int r)
{
    return c >= -M && r >= -M && c < LEVEL_COLUMNS + M && r < LEVEL_ROWS + M;
}

bool on_board(int c, int r)
{
    return c >= 0 && r >= 0 && c < LEVEL_COLUMNS && r < LEVEL_ROWS;
}

int16_t &grid(int16_t (&g)[danger_map::GRID_W][danger_map::GRID_H], int c, int r)
{
    return g[c + M][r + M];
}

// One more stretch of danger on a cell: stretches that touch are joined, and
// when there are too many the two closest become one (and the gap between
// them danger too: the map may overstate, never understate).
void add_span(danger_map &d, int c, int r, int from, int to)
{
    if (!on_board(c, r))
        return;
    if (from < 1)
        from = 1;
    if (to > DANGER_HORIZON)
        to = DANGER_HORIZON;
    if (from > to)
        return;
    danger_span all[DANGER_SPANS + 1];
    int n = 0;
    for (int i = 0; i < d.count[c][r]; i++) {
        const danger_span s = d.spans[c][r][i];
        if (s.from <= to + 1 && s.to >= from - 1) {
            from = s.from < from ? s.from : from;
            to = s.to > to ? s.to : to;
        } else {
            all[n++] = s;
        }
    }
    // Kept in order of time.
    int at = n;
    while (at > 0 && all[at - 1].from > from) {
        all[at] = all[at - 1];
        at--;
    }
    all[at] = {int16_t(from), int16_t(to)};
    n++;
    while (n > DANGER_SPANS) {
        int closest = 0;
        for (int i = 1; i + 1 < n; i++)
            if (all[i + 1].from - all[i].to < all[closest + 1].from - all[closest].to)
                closest = i;
        all[closest].to = all[closest + 1].to;
        for (int i = closest + 1; i + 1 < n; i++)
            all[i] = all[i + 1];
        n--;
    }
    std::memcpy(d.spans[c][r], all, sizeof(danger_span) * size_t(n));
    d.count[c][r] = uint8_t(n);
}

// A weapon as the run follows it.
struct runner {
    int16_t col, row, dx, dy, fuse, type, first_tick;
    bool live, set_off_maybe;
};

struct run {
    danger_map &d;
    const match_state &m;
    bool chains;

    // A blast placed in tick j: where it hurts, and (when chains count) what
    // it sets off. A blast that only may happen sets off only what may go
    // off, so the run's certain course stays one course.
    void blast(int tick, int c, int r, bool big, bool certain)
    {
        if (d.blast_count < DANGER_MAX_BLASTS)
            d.blasts[d.blast_count++] = {int16_t(tick), int16_t(c), int16_t(r), int8_t(big),
                                         int8_t(certain)};
        const cell_offset *cells = big ? BIG_BLAST_CELLS : PLUS_BLAST_CELLS;
        const int n = big ? 29 : 5;
        for (int i = 0; i < n; i++) {
            const int bc = c + cells[i].dc, br = r + cells[i].dr;
            add_span(d, bc, br, tick, tick + BLAST_HURTS_TICKS - 1);
            if (!chains || !on_grid(bc, br))
                continue;
            int16_t &until = grid(certain ? d.sets_off_until : d.may_set_off_until, bc, br);
            if (until < tick + SETS_OFF_TICKS - 1)
                until = int16_t(tick + SETS_OFF_TICKS - 1);
        }
    }

    bool blocked(int c, int r) { return cell_blocked(m, c, r) != 0; }

    // One weapon's part of tick j, as advance_bombs does it.
    void advance(runner &b, int tick)
    {
        const bool inside = on_grid(b.col, b.row);
        const bool set_off = inside && grid(d.sets_off_until, b.col, b.row) >= tick;
        if (!set_off && !b.set_off_maybe && inside &&
            grid(d.may_set_off_until, b.col, b.row) >= tick) {
            // It may go off now, or keep to its fuse: both are danger.
            b.set_off_maybe = true;
            blast(tick, b.col, b.row, b.type == WEAPON_BIG_BOMB, false);
        }
        if (set_off)
            b.fuse = -1;
        b.col += b.dx;
        b.row += b.dy;
        b.fuse -= 1;
        if (b.type != WEAPON_MISSILE) {
            if (b.fuse <= 0) {
                blast(tick, b.col, b.row, b.type == WEAPON_BIG_BOMB, true);
                b.live = false;
            }
            return;
        }
        if (b.fuse <= 0 || blocked(b.col, b.row)) {
            blast(tick, b.col - b.dx, b.row - b.dy, false, true);
            b.live = false;
            return;
        }
        add_span(d, b.col, b.row, tick - MISSILE_WARNING_TICKS, tick);
        for (const player &p : m.players) {
            if (p.col != b.col || p.row != b.row)
                continue;
            // A wreck stays where it is; anyone else may step aside.
            if (p.energy < 1) {
                blast(tick, b.col - b.dx, b.row - b.dy, false, true);
                b.live = false;
                return;
            }
            blast(tick, b.col - b.dx, b.row - b.dy, false, false);
        }
    }
};

}  // namespace

void build_danger_map(danger_map &d, const match_state &m, const what_if *extra, bool chains)
{
    std::memset(d.count, 0, sizeof d.count);
    d.blast_count = 0;
    d.lingering_count = 0;
    for (auto &column : d.sets_off_until)
        for (int16_t &t : column)
            t = NEVER;
    std::memcpy(d.may_set_off_until, d.sets_off_until, sizeof d.may_set_off_until);

    // An explosion with `life` left is still there when the bombs advance in
    // ticks 1..life and hurts at the end of ticks 1..life-1.
    for (const explosion &e : m.explosions) {
        if (e.active != 1)
            continue;
        if (chains && on_grid(e.col, e.row) && grid(d.sets_off_until, e.col, e.row) < e.life)
            grid(d.sets_off_until, e.col, e.row) = int16_t(e.life);
        if (on_board(e.col, e.row) && e.life >= 2) {
            add_span(d, e.col, e.row, 1, e.life - 1);
            d.lingering[d.lingering_count++] = {int16_t(e.col), int16_t(e.row), int16_t(e.life - 1)};
        }
    }

    // The weapons in slot order; one fired in the next tick takes the lowest
    // free slot, as spawn_bomb does, and first advances in the tick after.
    runner weapons[BOMB_POOL_SIZE + 1];
    int n = 0;
    bool extra_placed = extra == nullptr;
    auto add_extra = [&] {
        static const int FUSES[3] = {50, 20, 100};
        const int type = extra->type >= 0 && extra->type <= 2 ? extra->type : WEAPON_BOMB;
        weapons[n++] = {int16_t(extra->col), int16_t(extra->row), int16_t(extra->dx), int16_t(extra->dy),
                        int16_t(FUSES[type]), int16_t(type), 2, true, false};
        extra_placed = true;
    };
    for (const bomb &b : m.bombs) {
        if (b.active != 1) {
            if (!extra_placed)
                add_extra();
            continue;
        }
        weapons[n++] = {int16_t(b.col), int16_t(b.row), int16_t(b.dx), int16_t(b.dy),
                        int16_t(b.fuse), int16_t(b.type), 1, true, false};
    }
    // A full pool takes no new weapon.

    run r{d, m, chains};
    bool any = n > 0;
    for (int tick = 1; any && tick <= DANGER_HORIZON; tick++) {
        any = false;
        for (int i = 0; i < n; i++) {
            runner &b = weapons[i];
            if (!b.live)
                continue;
            any = true;
            if (tick >= b.first_tick)
                r.advance(b, tick);
        }
    }
}

bool danger_between(const danger_map &d, int col, int row, int from, int to)
{
    for (int i = 0; i < d.count[col][row]; i++) {
        const danger_span s = d.spans[col][row][i];
        if (s.from <= to && s.to >= from)
            return true;
    }
    return false;
}

int danger_after(const danger_map &d, int col, int row, int t)
{
    for (int i = 0; i < d.count[col][row]; i++) {
        const danger_span s = d.spans[col][row][i];
        if (s.to >= t)
            return s.from > t ? s.from : t;
    }
    return NO_DANGER;
}

bool safe_from(const danger_map &d, int col, int row, int t)
{
    const int n = d.count[col][row];
    return n == 0 || d.spans[col][row][n - 1].to < t;
}

namespace {

int overlap(int a1, int a2, int b1, int b2)
{
    const int lo = a1 > b1 ? a1 : b1, hi = a2 < b2 ? a2 : b2;
    return hi >= lo ? hi - lo + 1 : 0;
}

bool covers(const danger_blast &b, int col, int row)
{
    const int dc = col - b.col, dr = row - b.row;
    const int ac = dc < 0 ? -dc : dc, ar = dr < 0 ? -dr : dr;
    if (!b.big)
        return ac + ar <= 1;
    return (ac <= 2 && ar <= 2) || (ac == 0 && ar == 3) || (ar == 0 && ac == 3);
}

}  // namespace

int damage_between(const danger_map &d, int col, int row, int from, int to)
{
    int total = 0;
    for (int i = 0; i < d.lingering_count; i++) {
        const auto &e = d.lingering[i];
        if (e.col == col && e.row == row)
            total += overlap(1, e.last, from, to);
    }
    for (int i = 0; i < d.blast_count; i++) {
        const danger_blast &b = d.blasts[i];
        if (covers(b, col, row))
            total += overlap(b.tick, b.tick + BLAST_HURTS_TICKS - 1, from, to);
    }
    return total;
}
