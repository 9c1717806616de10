// The computer player's decisions: keep out of every blast it can foresee,
// fire when a shot costs the other more than it risks, and otherwise go
// where a shot will be. It thinks every few ticks and follows its plan in
// between; a new weapon on the board, or either player stepping into
// another cell, makes the quicker levels think at once.
#include "computer.h"

namespace {

// How each level plays. Easy thinks slowly, does not foresee chains, fires
// now and then without looking, wanders, and takes every shot for a hit;
// hard thinks every few ticks and at once when anything changes, keeps wide
// margins and reckons with the other's way out.
struct style {
    int think_every;            // ticks between thoughts
    bool wakes_on_change;       // a new weapon, or a player in a new cell, makes it think at once
    bool chains;                // foresees blasts setting each other off
    int walk_margin;            // ticks of clearance round each passage
    int escape_slack;           // leaves a cell this long before its blast could catch it
    int fire_slack;             // the slack its way out must keep after it fires
    int blunder_percent;        // shots fired without looking
    int wander_percent;         // thoughts spent wandering instead of hunting
    int hope_percent;           // the least chance it gives a shot of hitting a player who can dodge
    bool traps;                 // weighs the other's way out
    bool big_bombs;
};
constexpr style STYLES[COMPUTER_LEVELS] = {
    {1, false, false, 0, 0, 0, 0, 0, 0, false, false},       // a person: never asked
    {12, false, false, 0, 3, 2, 12, 20, 100, false, false},  // easy
    {5, true, true, 1, 8, 6, 2, 4, 35, false, true},         // normal
    {4, true, true, 2, 12, 10, 0, 0, 10, true, true},        // hard
};

constexpr int NEVER_TICK = NO_DANGER;
// A thought looks this far ahead for the other's loss.
constexpr int LOOK_AHEAD = DANGER_HORIZON;
// A player who has not moved for this long is taken not to move.
constexpr int STILL_TICKS = 3 * TICKS_PER_SECOND;
// Staying within a 5 x 5 cells patch this long without a shot is a loop.
constexpr int STUCK_TICKS = 6 * TICKS_PER_SECOND;
constexpr int STUCK_REACH = 2;
constexpr int DETOUR_TICKS = 4 * TICKS_PER_SECOND;
// Missiles are aimed from this many cells away, and from no farther.
constexpr int MISSILE_NEAREST = 3, MISSILE_BEST = 4, MISSILE_FARTHEST = 10;
// What a shot must be worth, in the other's energy, to be fired.
constexpr int SHOT_WORTH[3] = {6, 3, 9};   // small bomb, missile, big bomb
constexpr int TRAP_WORTH = 60;
// A way out farther than this many ticks is no way out.
constexpr int ESCAPE_REACH = 20 * TICKS_PER_CELL;

uint32_t next_random(computer_mind &mind)
{
    // xorshift32: small, fast and the same everywhere.
    uint32_t x = mind.random ? mind.random : 0x9e3779b9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    mind.random = x;
    return x;
}

bool chance(computer_mind &mind, int percent)
{
    return percent > 0 && int(next_random(mind) % 100) < percent;
}

int abs_of(int v) { return v < 0 ? -v : v; }

bool bomb_on(const match_state &m, int col, int row)
{
    for (const bomb &b : m.bombs)
        if (b.active == 1 && b.col == col && b.row == row)
            return true;
    return false;
}

// The bomb pool as the mind last saw it: which slots hold what, not where a
// missile has got to, so it changes when a weapon is fired or goes off.
uint32_t weapons_digest(const match_state &m)
{
    uint32_t h = 2166136261u;
    for (int i = 0; i < BOMB_POOL_SIZE; i++) {
        const bomb &b = m.bombs[i];
        if (b.active != 1)
            continue;
        h = (h ^ uint32_t(i * 4 + b.type)) * 16777619u;
    }
    return h;
}

struct spot {
    int col = -1, row = -1, arrive = NEVER_TICK;
    bool found() const { return col >= 0; }
};

// The quickest cell to reach that no blast will touch from then on. The
// plan found cells in about the order of arrival, so the search stops soon
// after the first.
spot nearest_refuge(const walk_grid &g, const danger_map &d)
{
    spot best;
    for (int i = 0; i < g.reached; i++) {
        const int c = index_col(g.order[i]), r = index_row(g.order[i]);
        const int t = g.arrive[c][r];
        if (best.found() && t > best.arrive + TICKS_PER_CELL)
            break;
        if (t < best.arrive && safe_from(d, c, r, t > 1 ? t - 1 : 1))
            best = {c, r, t};
    }
    return best;
}

// Nowhere is safe: of the cells near at hand, the one that costs least from
// arrival on.
spot least_harm(const walk_grid &g, const danger_map &d)
{
    constexpr int NEAR_CELLS = 60;
    spot best;
    int best_cost = NEVER_TICK;
    for (int i = 0; i < g.reached && i < NEAR_CELLS; i++) {
        const int c = index_col(g.order[i]), r = index_row(g.order[i]);
        const int t = g.arrive[c][r];
        const int cost = damage_between(d, c, r, t > 1 ? t : 1, LOOK_AHEAD) * 4 + t;
        if (cost < best_cost) {
            best_cost = cost;
            best = {c, r, t};
        }
    }
    return best;
}

// The thinking of one player in one moment.
struct thought {
    computer_mind &mind;
    const match_state &m;
    int me;
    const style &st;
    int heading_dc = 0, heading_dr = 0;

    const player &self() const { return m.players[me]; }
    const player &other() const { return m.players[1 - me]; }
    int my_col() const { return centre_col(self().x); }
    int my_row() const { return centre_row(self().y); }
    int their_col() const { return centre_col(other().x); }
    int their_row() const { return centre_row(other().y); }

    void go(const walk_grid &g, int col, int row, computer_goal goal)
    {
        mind.goal = goal;
        if (!path_to(g, col, row, mind.path))
            mind.goal = computer_goal::none;
    }

    void stay()
    {
        mind.goal = computer_goal::none;
        mind.path.length = 0;
    }

    // ---- safety --------------------------------------------------------------
    // Leaves when the blast that will reach its cell comes too soon for
    // lingering; true when it is on its way out.
    bool keep_safe()
    {
        const int c = my_col(), r = my_row();
        const int first = danger_after(mind.map, c, r, 1);
        if (first == NO_DANGER)
            return false;
        spot refuge = nearest_refuge(mind.mine, mind.map);
        if (refuge.found() && first - refuge.arrive >= st.escape_slack && first > st.escape_slack)
            return false;
        // Pinned in one patch, dodging from cell to cell: out of it instead.
        // The way there keeps out of every blast; only the first step from
        // this cell could not, and a nearer refuge takes one as well.
        if (stalled_for() >= STUCK_TICKS) {
            const spot away = refuge_away();
            if (away.found())
                refuge = away;
        }
        if (!refuge.found()) {
            // No clean way out: a narrower one, or the least painful place.
            plan_walks(mind.scratch, m, self().x, self().y, &mind.map, 0, 0, ESCAPE_REACH, true);
            refuge = nearest_refuge(mind.scratch, mind.map);
            if (!refuge.found()) {
                plan_walks(mind.scratch, m, self().x, self().y, nullptr, 0, 0, ESCAPE_REACH);
                refuge = least_harm(mind.scratch, mind.map);
            }
            if (refuge.found())
                go(mind.scratch, refuge.col, refuge.row, computer_goal::escape);
            return true;
        }
        go(mind.mine, refuge.col, refuge.row, computer_goal::escape);
        return true;
    }

    // ---- shooting --------------------------------------------------------------
    struct shot {
        int type = -1;
        control_word word = 0;
        int worth = 0;
    };

    // Can the other still get clear of what the map foresees?
    bool other_can_escape(const danger_map &d, int &first, int &escape)
    {
        plan_walks(mind.scratch, m, other().x, other().y, &d, 0, 0, ESCAPE_REACH, true);
        spot refuge = nearest_refuge(mind.scratch, d);
        first = danger_after(d, their_col(), their_row(), 1);
        escape = refuge.found() ? refuge.arrive : NEVER_TICK;
        return refuge.found();
    }

    // What firing `type` in the next tick with `dirs` held would be worth:
    // the other's foreseen loss, weighed by how hard it is to dodge, and
    // nothing at all if this player could then not get clear itself.
    int shot_worth(int type, control_word dirs, int base_loss, bool base_escape, bool careful)
    {
        int x = self().x, y = self().y;
        walk_one_tick(m, x, y, dirs);
        const int c = centre_col(x), r = centre_row(y);
        if (bomb_on(m, c, r))
            return 0;   // the tick would not fire
        what_if w{type, c, r, 0, 0};
        if (type == WEAPON_MISSILE) {
            int facing = self().facing;
            if (dirs & CONTROL_LEFT) facing = FACING_LEFT;
            if (dirs & CONTROL_RIGHT) facing = FACING_RIGHT;
            if (dirs & CONTROL_UP) facing = FACING_UP;
            if (dirs & CONTROL_DOWN) facing = FACING_DOWN;
            w.dx = facing == FACING_RIGHT ? 1 : facing == FACING_LEFT ? -1 : 0;
            w.dy = facing == FACING_DOWN ? 1 : facing == FACING_UP ? -1 : 0;
            w.col += w.dx;
            w.row += w.dy;
        }
        build_danger_map(mind.trial, m, &w, st.chains);
        if (careful) {
            const int first = danger_after(mind.trial, c, r, 1);
            if (first != NO_DANGER) {
                plan_walks(mind.scratch, m, x, y, &mind.trial, 1, st.walk_margin, ESCAPE_REACH, true);
                spot refuge = nearest_refuge(mind.scratch, mind.trial);
                if (!refuge.found() || first - refuge.arrive < st.fire_slack)
                    return 0;
            }
        }
        const int loss = damage_between(mind.trial, their_col(), their_row(), 1, LOOK_AHEAD) - base_loss;
        if (loss <= 0)
            return 0;   // where the other stands now stays as safe as it was
        int first = NO_DANGER, escape = NEVER_TICK;
        const bool can_escape = other_can_escape(mind.trial, first, escape);
        int hit_percent = 100;
        if (can_escape && m.tick - mind.other_still_since < STILL_TICKS) {
            const int slack = first - escape;
            hit_percent = slack <= 0 ? 100 : slack >= 30 ? 10 : 100 - slack * 3;
            if (hit_percent < st.hope_percent)
                hit_percent = st.hope_percent;
        }
        int worth = loss * hit_percent / 100;
        if (st.traps && base_escape && !can_escape)
            worth += TRAP_WORTH;
        return worth >= SHOT_WORTH[type] ? worth : 0;
    }

    // The fewest cells a missile is fired across at the other. A player who
    // moves may step a cell nearer as the missile leaves, and a missile
    // fired from two cells off blasts beside its firer.
    int nearest_shot() const
    {
        return m.tick - mind.other_still_since >= STILL_TICKS ? MISSILE_NEAREST : MISSILE_NEAREST + 1;
    }

    // The best shot there is now, if any is worth it.
    shot best_shot()
    {
        shot best;
        const player &p = self(), &o = other();
        if (p.fire_delay > 1 || o.energy < 1)
            return best;
        const int c = my_col(), r = my_row(), oc = their_col(), orow = their_row();
        const int apart = abs_of(c - oc) + abs_of(r - orow);
        const bool careful = !chance(mind, st.blunder_percent);
        const int base_loss = damage_between(mind.map, oc, orow, 1, LOOK_AHEAD);
        int first = NO_DANGER, escape = NEVER_TICK;
        const bool base_escape = st.traps && other_can_escape(mind.map, first, escape);

        auto consider = [&](int type, control_word dirs) {
            const int worth = shot_worth(type, dirs, base_loss, base_escape, careful);
            // The weapon in hand wins a tie: no tick lost changing.
            if (worth > best.worth || (worth > 0 && worth == best.worth && type == p.weapon))
                best = {type, dirs, worth};
        };
        // A missile along the other's row or column, or into a bomb near it.
        static constexpr struct { int dx, dy, facing; control_word key; } WAYS[4] = {
            {-1, 0, FACING_LEFT, CONTROL_LEFT}, {1, 0, FACING_RIGHT, CONTROL_RIGHT},
            {0, -1, FACING_UP, CONTROL_UP}, {0, 1, FACING_DOWN, CONTROL_DOWN}};
        const int nearest = nearest_shot();
        for (const auto &way : WAYS) {
            const control_word key = p.facing == way.facing ? 0 : way.key;
            int x = p.x, y = p.y;
            walk_one_tick(m, x, y, key);
            const int fc = centre_col(x), fr = centre_row(y);
            bool worth_a_look = false;
            for (int k = 1; k <= MISSILE_FARTHEST + 9; k++) {
                const int tc = fc + way.dx * k, tr = fr + way.dy * k;
                if (k > 1 && cell_blocked(m, tc, tr))
                    break;
                if (tc == oc && tr == orow) {
                    worth_a_look = k >= nearest;
                    break;
                }
                if (bomb_on(m, tc, tr) && abs_of(tc - oc) + abs_of(tr - orow) <= 3) {
                    worth_a_look = true;
                    break;
                }
            }
            if (worth_a_look)
                consider(WEAPON_MISSILE, key);
        }
        if (apart <= 4)
            consider(WEAPON_BOMB, 0);
        if (st.big_bombs && apart <= 5)
            consider(WEAPON_BIG_BOMB, 0);
        return best;
    }

    // ---- going after the other ---------------------------------------------------
    // Where the other can walk, walls only: kept while it stays in one cell.
    void their_ways()
    {
        const int key = cell_index(their_col(), their_row());
        if (mind.theirs_key == key)
            return;
        plan_walks(mind.theirs, m, other().x, other().y, nullptr, 0, 0);
        mind.theirs_key = key;
    }

    // How many cells (tc, tr) lies off (c, r) along a row or column with no
    // wall between; 0 when it does not.
    int cells_in_line(int c, int r, int tc, int tr)
    {
        if (c != tc && r != tr)
            return 0;
        const int dc = tc > c ? 1 : tc < c ? -1 : 0, dr = tr > r ? 1 : tr < r ? -1 : 0;
        int k = 0;
        for (int cc = c, rr = r; cc != tc || rr != tr; cc += dc, rr += dr, k++)
            if (k > 0 && cell_blocked(m, cc, rr))
                return 0;
        return k;
    }

    // A cell in line with the other, nothing between, a few cells off: the
    // nearest such that is safe to stand on; else as close as the way goes.
    // The other walking into this player's line is waited for, missile in
    // hand. Two players each stepping into the other's line would swap
    // lines for ever; a little chance in the choice ends that.
    void hunt()
    {
        const int oc = their_col(), orow = their_row();
        their_ways();
        if (heading_dc != 0 || heading_dr != 0) {
            const int k = cells_in_line(my_col(), my_row(), oc + heading_dc, orow + heading_dr);
            if (k >= nearest_shot() && k <= MISSILE_FARTHEST &&
                !danger_between(mind.map, my_col(), my_row(), 1, 30)) {
                mind.want_weapon = WEAPON_MISSILE;
                stay();
                mind.goal = computer_goal::hunt;
                return;
            }
        }
        spot best;
        int best_cost = NEVER_TICK;
        static constexpr int WAYS[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto &way : WAYS)
            for (int k = 1; k <= MISSILE_FARTHEST; k++) {
                const int c = oc + way[0] * k, r = orow + way[1] * k;
                if (cell_blocked(m, c, r))
                    break;
                const int t = mind.mine.arrive[c][r];
                if (k < nearest_shot() || t == UNREACHED || danger_between(mind.map, c, r, t, t + 40))
                    continue;
                const int cost = t + 3 * abs_of(k - MISSILE_BEST) + int(next_random(mind) % 8);
                if (cost < best_cost) {
                    best_cost = cost;
                    best = {c, r, t};
                }
            }
        if (best.found()) {
            mind.want_weapon = WEAPON_MISSILE;
            go(mind.mine, best.col, best.row, computer_goal::hunt);
            return;
        }
        // As near as it can get by walking, the other's own ways counted.
        best_cost = NEVER_TICK;
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            for (int r = 0; r < LEVEL_ROWS; r++) {
                const int t = mind.mine.arrive[c][r], near = mind.theirs.arrive[c][r];
                if (t == UNREACHED || near == UNREACHED || danger_between(mind.map, c, r, t, t + 30))
                    continue;
                const int cost = near * 4 + t;
                if (cost < best_cost) {
                    best_cost = cost;
                    best = {c, r, t};
                }
            }
        if (best.found()) {
            const int apart = abs_of(best.col - oc) + abs_of(best.row - orow);
            mind.want_weapon = apart <= 3 ? WEAPON_BOMB : WEAPON_MISSILE;
            go(mind.mine, best.col, best.row, computer_goal::hunt);
        } else {
            stay();
        }
    }

    // Somewhere it can reach, a few cells off, at random.
    bool pick_detour(int least, int most)
    {
        int chosen = -1, seen = 0;
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            for (int r = 0; r < LEVEL_ROWS; r++) {
                const int t = mind.mine.arrive[c][r];
                if (t == UNREACHED || t < least * TICKS_PER_CELL || t > most * TICKS_PER_CELL)
                    continue;
                // Reservoir choice: every candidate as likely as any other.
                if (next_random(mind) % uint32_t(++seen) == 0)
                    chosen = cell_index(c, r);
            }
        if (chosen < 0)
            return false;
        mind.detour_col = index_col(chosen);
        mind.detour_row = index_row(chosen);
        go(mind.mine, mind.detour_col, mind.detour_row, computer_goal::wander);
        return true;
    }

    // Ticks without a shot or a step out of the patch.
    int stalled_for() const { return m.tick - mind.home_tick; }

    // The nearest refuge outside the patch it has been staying in.
    spot refuge_away() const
    {
        const walk_grid &g = mind.mine;
        for (int i = 0; i < g.reached; i++) {
            const int c = index_col(g.order[i]), r = index_row(g.order[i]);
            const int t = g.arrive[c][r];
            if ((abs_of(c - mind.home_col) > STUCK_REACH || abs_of(r - mind.home_row) > STUCK_REACH) &&
                safe_from(mind.map, c, r, t > 1 ? t - 1 : 1))
                return {c, r, t};
        }
        return {};
    }

    // Staying in one patch for long without a shot while the other can be
    // reached is a loop: it walks somewhere else for a while.
    bool break_loops()
    {
        const int c = my_col(), r = my_row();
        if (m.tick < mind.detour_until) {
            if (mind.goal == computer_goal::wander && mind.path.length > 0 &&
                mind.mine.arrive[mind.detour_col][mind.detour_row] != UNREACHED) {
                go(mind.mine, mind.detour_col, mind.detour_row, computer_goal::wander);
                return true;
            }
            mind.detour_until = 0;
        }
        if (stalled_for() < STUCK_TICKS)
            return false;
        their_ways();
        if (mind.theirs.arrive[c][r] == UNREACHED)
            return false;   // nothing to go to
        if (!pick_detour(6, 20) && !pick_detour(2, 60))
            return false;
        mind.detour_until = m.tick + DETOUR_TICKS;
        return true;
    }

    void think()
    {
        build_danger_map(mind.map, m, nullptr, st.chains);
        plan_walks(mind.mine, m, self().x, self().y, &mind.map, 0, st.walk_margin);
        mind.fire_word = 0;
        // Which way the other is going, from where it was at the last thought.
        heading_dc = mind.other_x < 0 ? 0 : other().x > mind.other_x ? 1 : other().x < mind.other_x ? -1 : 0;
        heading_dr = mind.other_y < 0 ? 0 : other().y > mind.other_y ? 1 : other().y < mind.other_y ? -1 : 0;
        if (other().x != mind.other_x || other().y != mind.other_y) {
            mind.other_x = other().x;
            mind.other_y = other().y;
            mind.other_still_since = m.tick;
        }
        if (keep_safe())
            return;
        if (other().energy < 1) {
            stay();
            return;
        }
        const shot s = best_shot();
        if (s.type >= 0) {
            mind.want_weapon = s.type;
            mind.fire_word = CONTROL_FIRE | s.word;
            stay();
            mind.goal = computer_goal::shoot;
            return;
        }
        if (break_loops())
            return;
        if (chance(mind, st.wander_percent) && pick_detour(3, 12)) {
            mind.detour_until = m.tick + 2 * TICKS_PER_SECOND;
            return;
        }
        hunt();
    }
};

}  // namespace

const char *computer_level_name(int level)
{
    static const char *const NAMES[COMPUTER_LEVELS] = {"person", "easy", "normal", "hard"};
    return level > 0 && level < COMPUTER_LEVELS ? NAMES[level] : NAMES[0];
}

void reset_computer(computer_mind &mind, int level, uint32_t seed)
{
    mind.level = level > 0 && level < COMPUTER_LEVELS ? level : COMPUTER_HARD;
    mind.random = seed * 2654435761u + 0x9e3779b9u;
    mind.think_tick = 0;
    mind.weapons_seen = 0;
    mind.goal = computer_goal::none;
    mind.path.length = 0;
    mind.path.at = 0;
    mind.want_weapon = WEAPON_BOMB;
    mind.fire_word = 0;
    mind.home_col = mind.home_row = -100;
    mind.home_tick = 0;
    mind.fire_delay_seen = 0;
    mind.detour_until = 0;
    mind.detour_col = mind.detour_row = 0;
    mind.other_x = mind.other_y = -1;
    mind.other_still_since = 0;
    mind.theirs_key = -1;
    mind.cells_seen = -1;
}

control_word computer_controls(const match_state &m, int player, void *context)
{
    computer_mind &mind = *static_cast<computer_mind *>(context);
    const style &st = STYLES[mind.level];
    const ::player &p = m.players[player];
    if (p.energy < 1)
        return 0;

    // Where it has been staying: a patch of 5 x 5 cells round where it last
    // fired (a shot it really fired shows as its fire delay starting again)
    // or last stepped out of the patch before.
    const bool fired = p.fire_delay > mind.fire_delay_seen;
    mind.fire_delay_seen = p.fire_delay;
    if (fired || abs_of(p.col - mind.home_col) > STUCK_REACH || abs_of(p.row - mind.home_row) > STUCK_REACH) {
        mind.home_col = p.col;
        mind.home_row = p.row;
        mind.home_tick = m.tick;
    }
    const uint32_t weapons = weapons_digest(m);
    const ::player &o = m.players[1 - player];
    // Both players' cells: a step into a line is a chance to shoot first.
    const int cells = cell_index(o.col, o.row) * LEVEL_CELLS + cell_index(p.col, p.row);
    bool think_now = m.tick >= mind.think_tick ||
                     (st.wakes_on_change && (weapons != mind.weapons_seen || cells != mind.cells_seen));
    for (int attempt = 0; attempt < 2; attempt++) {
        if (think_now) {
            thought{mind, m, player, st}.think();
            // A tick more or less now and then, so two computers do not
            // keep deciding in the same ticks.
            mind.think_tick = m.tick + st.think_every + int(next_random(mind) % 3) - 1;
            mind.weapons_seen = weapons;
            mind.cells_seen = cells;
        }
        control_word w = 0;
        if (mind.fire_word) {
            if (p.weapon != mind.want_weapon) {
                w = CONTROL_CHANGE;
            } else if (p.fire_delay <= 1) {
                w = mind.fire_word;
                mind.fire_word = 0;
            }
            return w;
        }
        bool off_path = false;
        w = steer(p.x, p.y, mind.path, off_path);
        if (off_path && !think_now) {
            think_now = true;
            continue;
        }
        // Ready with the weapon it means to use next, while it walks.
        if (p.weapon != mind.want_weapon)
            w |= CONTROL_CHANGE;
        return w;
    }
    return 0;
}
