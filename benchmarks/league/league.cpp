// The computer players' league: headless matches at full speed on the
// bundled arenas and the empty board, each at most three minutes of match
// time, sides swapped from match to match. One line per pairing:
//   A vs B: W1 - W2 - D of N, median S s
// (A's wins, B's wins, draws and undecided, the median time of the decided
// ones), then how often hard against hard ends with a player wrecked by its
// own weapons, the longest a computer went without a shot or a move out of
// one patch, what each level fired and what its thinking cost on average.
// Usage: league [MATCHES] [LEVELS_DIR]; LEAGUE_VERBOSE=1 adds a line a match.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <string>
#include <vector>

#include "computer.h"
#include "level.h"

namespace {

constexpr int MATCH_TICKS = 3 * 60 * TICKS_PER_SECOND;
constexpr int IDLE = COMPUTER_NONE;   // a player who never acts

struct pairing {
    int a, b;   // COMPUTER_* levels, or IDLE
};
constexpr pairing PAIRINGS[] = {
    {COMPUTER_HARD, IDLE},
    {COMPUTER_HARD, COMPUTER_EASY},
    {COMPUTER_NORMAL, COMPUTER_EASY},
    {COMPUTER_HARD, COMPUTER_NORMAL},
    {COMPUTER_HARD, COMPUTER_HARD},
};

const char *side_name(int level) { return level == IDLE ? "idle" : computer_level_name(level); }

struct arena {
    std::string name;
    int32_t cells[LEVEL_COLUMNS][LEVEL_ROWS];
};

std::vector<arena> load_arenas(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    std::vector<arena> arenas;
    for (const std::string &n : names) {
        clear_board(0);
        read_level((dir + "/" + n).c_str());
        arena a;
        a.name = n;
        std::memcpy(a.cells, board, sizeof a.cells);
        arenas.push_back(a);
    }
    arena empty;
    empty.name = "(empty)";
    std::memset(empty.cells, 0, sizeof empty.cells);
    arenas.push_back(empty);
    return arenas;
}

double thread_seconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// What each level fired and what its thinking cost.
struct level_record {
    double think_total = 0;
    long calls = 0;
    long fired[3] = {0, 0, 0};
};
level_record records[COMPUTER_LEVELS];

// The league's own bookkeeping of whose weapon each explosion came from; the
// match does not keep it. A weapon went off when its slot is empty after the
// tick or holds a new one. The explosions it placed are the new ones (life
// 15 after the tick's aging), in the order of the free slots they took,
// weapon after weapon in slot order, five for a plus and 29 for a big blast.
struct tick_watch {
    int8_t owner_of[EXPLOSION_POOL_SIZE];
    int fired_by[2];   // weapons each side fired in the tick

    void after_tick(const bomb (&before)[BOMB_POOL_SIZE], const match_state &m)
    {
        fired_by[0] = fired_by[1] = 0;
        int slot = 0;
        for (int i = 0; i < BOMB_POOL_SIZE; i++) {
            const bomb &b = before[i], &a = m.bombs[i];
            const bool survived = b.active == 1 && a.active == 1 && a.type == b.type &&
                                  a.owner == b.owner && a.fuse == b.fuse - 1;
            if (a.active == 1 && !survived && a.owner >= 0 && a.owner < 2) {
                fired_by[a.owner]++;
                last_fired_type[a.owner] = a.type;
            }
            if (b.active != 1 || survived)
                continue;
            int placed = b.type == WEAPON_BIG_BOMB ? 29 : 5;
            for (; slot < EXPLOSION_POOL_SIZE && placed > 0; slot++) {
                const explosion &e = m.explosions[slot];
                if (e.active == 1 && e.life == 15) {
                    owner_of[slot] = int8_t(b.owner);
                    placed--;
                }
            }
        }
    }
    int last_fired_type[2] = {0, 0};
};

struct outcome {
    int result;        // RESULT_*
    int ticks;         // when it was decided
    bool self_wreck;   // a player wrecked by its own weapons while the other was in
    int longest_stall; // ticks a computer went without a shot or leaving a 5 x 5 patch
};

computer_mind minds[2];

outcome play(const arena &where, const int levels[2], uint32_t seed)
{
    static match_state m;
    start_match_state(m, where.cells, 0.0f);
    for (int i = 0; i < 2; i++)
        reset_computer(minds[i], levels[i], seed * 2 + uint32_t(i));
    static tick_watch watch;
    watch = tick_watch{};
    outcome out{RESULT_NONE, -1, false, 0};
    int anchor_col[2] = {-9, -9}, anchor_row[2] = {-9, -9}, since[2] = {0, 0};
    while (m.tick < MATCH_TICKS && m.result == RESULT_NONE) {
        control_word w[2] = {0, 0};
        for (int i = 0; i < 2; i++) {
            if (levels[i] == IDLE)
                continue;
            const double t0 = thread_seconds();
            w[i] = computer_controls(m, i, &minds[i]);
            const double spent = thread_seconds() - t0;
            level_record &r = records[levels[i]];
            r.think_total += spent;
            r.calls++;
        }
        bomb before[BOMB_POOL_SIZE];
        std::memcpy(before, m.bombs, sizeof before);
        const int32_t out_before[2] = {m.players[0].out_tick, m.players[1].out_tick};
        const int32_t energy_before[2] = {m.players[0].energy, m.players[1].energy};
        match_tick(m, w[0], w[1]);
        watch.after_tick(before, m);

        for (int i = 0; i < 2; i++) {
            const player &p = m.players[i];
            if (levels[i] != IDLE && watch.fired_by[i])
                records[levels[i]].fired[watch.last_fired_type[i]] += watch.fired_by[i];
            // Wrecked in this tick by its own weapons: without its own
            // explosions on its cell the other's would have left it in.
            if (out_before[i] < 0 && p.out_tick >= 0) {
                int own = 0, theirs = 0;
                for (int e = 0; e < EXPLOSION_POOL_SIZE; e++) {
                    const explosion &x = m.explosions[e];
                    if (x.active == 1 && x.col == p.col && x.row == p.row)
                        (watch.owner_of[e] == i ? own : theirs)++;
                }
                if (own > 0 && energy_before[i] - theirs > 0 && m.players[1 - i].energy > 0)
                    out.self_wreck = true;
            }
            if (levels[i] == IDLE || p.energy < 1 || m.players[1 - i].energy < 1)
                continue;
            if (std::abs(p.col - anchor_col[i]) > 2 || std::abs(p.row - anchor_row[i]) > 2 ||
                watch.fired_by[i]) {
                anchor_col[i] = p.col;
                anchor_row[i] = p.row;
                since[i] = m.tick;
            }
            out.longest_stall = std::max(out.longest_stall, m.tick - since[i]);
        }
    }
    out.result = m.result;
    out.ticks = m.result == RESULT_NONE ? -1 : m.result_tick;
    return out;
}

double seconds(double ticks) { return ticks / TICKS_PER_SECOND; }

}  // namespace

int main(int argc, char **argv)
{
    const int matches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 16;
    const std::string dir = argc > 2 ? argv[2] : "levels";
    const bool verbose = std::getenv("LEAGUE_VERBOSE") != nullptr;
    const std::vector<arena> arenas = load_arenas(dir);
    if (arenas.size() < 2)
        std::fprintf(stderr, "no arenas in %s: the empty board only\n", dir.c_str());

    double self_wreck_percent = 0;
    int longest_stall = 0;
    for (const pairing &pair : PAIRINGS) {
        int wins_a = 0, wins_b = 0, rest = 0, self_wrecks = 0;
        std::vector<int> decided;
        for (int k = 0; k < matches; k++) {
            // Each arena in turn, each from both corners.
            const arena &where = arenas[size_t(k / 2) % arenas.size()];
            const bool a_first = k % 2 == 0;
            const int levels[2] = {a_first ? pair.a : pair.b, a_first ? pair.b : pair.a};
            const uint32_t seed = uint32_t(k * 7919 + pair.a * 31 + pair.b);
            const outcome o = play(where, levels, seed);
            const int a_won = a_first ? RESULT_P1_WINS : RESULT_P2_WINS;
            const int b_won = a_first ? RESULT_P2_WINS : RESULT_P1_WINS;
            wins_a += o.result == a_won;
            wins_b += o.result == b_won;
            rest += o.result != a_won && o.result != b_won;
            if (o.result == a_won || o.result == b_won)
                decided.push_back(o.ticks);
            self_wrecks += o.self_wreck;
            longest_stall = std::max(longest_stall, o.longest_stall);
            if (verbose)
                std::fprintf(stderr, "  %s (player 1) vs %s on %s, seed %u: %s at %.1f s%s, longest stall %.1f s\n",
                             side_name(levels[0]), side_name(levels[1]), where.name.c_str(), seed,
                             o.result == RESULT_P1_WINS   ? "player 1 won"
                             : o.result == RESULT_P2_WINS ? "player 2 won"
                             : o.result == RESULT_DRAW    ? "a draw"
                                                          : "undecided",
                             seconds(o.ticks), o.self_wreck ? ", a self-wreck" : "",
                             seconds(o.longest_stall));
        }
        double median = 0;
        if (!decided.empty()) {
            std::sort(decided.begin(), decided.end());
            const size_t n = decided.size();
            median = seconds(n % 2 ? decided[n / 2] : (decided[n / 2 - 1] + decided[n / 2]) / 2.0);
        }
        std::printf("%s vs %s: %d - %d - %d of %d, median %.1f s\n", side_name(pair.a),
                    side_name(pair.b), wins_a, wins_b, rest, matches, median);
        std::fflush(stdout);
        if (pair.a == COMPUTER_HARD && pair.b == COMPUTER_HARD)
            self_wreck_percent = 100.0 * self_wrecks / matches;
    }
    std::printf("hard vs hard: %.0f %% of matches ended with a player wrecked by its own weapons "
                "while the other was alive\n", self_wreck_percent);
    std::printf("longest a computer went without a shot or leaving a 5 x 5 cells patch: %.1f s\n",
                seconds(longest_stall));
    for (int level = COMPUTER_EASY; level < COMPUTER_LEVELS; level++) {
        const level_record &r = records[level];
        if (!r.calls)
            continue;
        // The worst single word here is whatever the machine did meanwhile;
        // ./bench measures the worst the thinking itself takes.
        std::printf("%s: fired %ld small bombs, %ld missiles, %ld big bombs; thinking %.1f us a word "
                    "on average\n",
                    computer_level_name(level), r.fired[WEAPON_BOMB], r.fired[WEAPON_MISSILE],
                    r.fired[WEAPON_BIG_BOMB], 1e6 * r.think_total / double(r.calls));
    }
    return 0;
}
