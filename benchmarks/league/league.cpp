// The computer players' league: headless matches at full speed on the
// bundled arenas and the empty board, each at most three minutes of match
// time, sides swapped from match to match. One line per pairing:
//   A vs B: W1 - W2 - D of N, median S s
// (A's wins, B's wins, draws and undecided, the median time of the decided
// ones), then how often hard against hard ends with a player wrecked by its
// own weapons, how long any computer stayed in one patch, and what thinking
// cost. Usage: league [MATCHES] [LEVELS_DIR]
#include <algorithm>
#include <chrono>
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

struct pairing {
    int a, b;   // COMPUTER_* levels, COMPUTER_NONE for a player who never acts
    bool count_self_wrecks;
};
constexpr pairing PAIRINGS[] = {
    {COMPUTER_HARD, COMPUTER_NONE, false},
    {COMPUTER_HARD, COMPUTER_EASY, false},
    {COMPUTER_NORMAL, COMPUTER_EASY, false},
    {COMPUTER_HARD, COMPUTER_NORMAL, false},
    {COMPUTER_HARD, COMPUTER_HARD, true},
};

const char *side_name(int level) { return level == COMPUTER_NONE ? "idle" : computer_level_name(level); }

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

control_word idle_controls(const match_state &, int, void *) { return 0; }

double thread_seconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// What thinking cost, per level.
struct think_cost {
    double total = 0, worst = 0;
    long calls = 0;
};
think_cost costs[COMPUTER_LEVELS];

// The league's own bookkeeping of whose weapon each explosion came from. The
// match does not keep it: it is found again after every tick from what the
// tick changed. A weapon went off if it is gone or its slot holds a new one;
// the explosions it placed are the new ones (life 15 after the tick's aging)
// in the order of the free slots they took, weapon by weapon in slot order.
struct owners {
    int8_t of[EXPLOSION_POOL_SIZE];

    void after_tick(const bomb (&before)[BOMB_POOL_SIZE], const match_state &m)
    {
        int slot = 0;
        for (int i = 0; i < BOMB_POOL_SIZE; i++) {
            const bomb &b = before[i], &a = m.bombs[i];
            if (b.active != 1)
                continue;
            const bool survived = a.active == 1 && a.type == b.type && a.owner == b.owner &&
                                  a.fuse == b.fuse - 1;
            if (survived)
                continue;
            int placed = b.type == WEAPON_BIG_BOMB ? 29 : 5;
            for (; slot < EXPLOSION_POOL_SIZE && placed > 0; slot++) {
                const explosion &e = m.explosions[slot];
                if (e.active == 1 && e.life == 15) {
                    of[slot] = int8_t(b.owner);
                    placed--;
                }
            }
        }
    }
};

struct outcome {
    int result;           // RESULT_* from side A's point of view: 1 A won, 2 B won
    int ticks;            // when it was decided
    bool self_wreck;
    int longest_stay;     // ticks either computer stayed in one patch while both were in
};

computer_mind minds[2];

outcome play(const arena &where, int level_p1, int level_p2, uint32_t seed)
{
    static match_state m;
    start_match_state(m, where.cells, 0.0f);
    const int levels[2] = {level_p1, level_p2};
    for (int i = 0; i < 2; i++)
        reset_computer(minds[i], levels[i], seed * 2 + uint32_t(i));
    owners book{};
    outcome out{RESULT_NONE, -1, false, 0};
    int anchor_col[2] = {-9, -9}, anchor_row[2] = {-9, -9}, anchor_tick[2] = {0, 0};
    while (m.tick < MATCH_TICKS && m.result == RESULT_NONE) {
        control_word w[2];
        for (int i = 0; i < 2; i++) {
            if (levels[i] == COMPUTER_NONE) {
                w[i] = idle_controls(m, i, nullptr);
                continue;
            }
            const double t0 = thread_seconds();
            w[i] = computer_controls(m, i, &minds[i]);
            const double spent = thread_seconds() - t0;
            think_cost &c = costs[levels[i]];
            c.total += spent;
            c.calls++;
            c.worst = std::max(c.worst, spent);
            if (spent > 400e-6 && std::getenv("LEAGUE_SLOW")) {
                int nb = 0, ne = 0;
                for (const bomb &b : m.bombs) nb += b.active == 1;
                for (const explosion &e : m.explosions) ne += e.active == 1;
                std::fprintf(stderr, "slow %.0f us: level %d tick %d bombs %d explosions %d goal %d blasts %d\n",
                             spent * 1e6, levels[i], m.tick, nb, ne, int(minds[i].goal), minds[i].map.blast_count);
            }
        }
        if (std::getenv("LEAGUE_SLOW"))
            for (int i = 0; i < 2; i++) {
                if (levels[i] == COMPUTER_NONE)
                    continue;
                static computer_mind again;
                again = minds[i];
                again.think_tick = 0;
                double best = 1;
                for (int k = 0; k < 3; k++) {
                    computer_mind copy = again;
                    const double t0 = thread_seconds();
                    computer_controls(m, i, &copy);
                    best = std::min(best, thread_seconds() - t0);
                }
                static double worst_again = 0;
                if (best > worst_again) {
                    worst_again = best;
                    std::fprintf(stderr, "repeatable worst %.0f us at tick %d level %d\n", best * 1e6, m.tick, levels[i]);
                }
            }
        if (std::getenv("LEAGUE_TRACE") && seed == uint32_t(std::atoi(std::getenv("LEAGUE_TRACE"))) && (m.tick % 20 == 0 || (std::getenv("LEAGUE_FROM") && m.tick >= std::atoi(std::getenv("LEAGUE_FROM")) && m.tick < std::atoi(std::getenv("LEAGUE_FROM")) + 30))) {
            int nb = 0;
            for (const bomb &b : m.bombs) nb += b.active == 1;
            std::fprintf(stderr, "t=%5.1f p1 (%2d,%2d) %3d,%3d e%3d w%d g%d %02x| p2 (%2d,%2d) %3d,%3d e%3d w%d g%d %02x| bombs %d\n", m.tick / 40.0,
                         m.players[0].col, m.players[0].row, m.players[0].x, m.players[0].y, m.players[0].energy, m.players[0].weapon, int(minds[0].goal), w[0],
                         m.players[1].col, m.players[1].row, m.players[1].x, m.players[1].y, m.players[1].energy, m.players[1].weapon, int(minds[1].goal), w[1], nb);
        }
        bomb before[BOMB_POOL_SIZE];
        std::memcpy(before, m.bombs, sizeof before);
        const int32_t out_before[2] = {m.players[0].out_tick, m.players[1].out_tick};
        match_tick(m, w[0], w[1]);
        book.after_tick(before, m);
        for (int i = 0; i < 2; i++) {
            const player &p = m.players[i], &o = m.players[1 - i];
            if (out_before[i] >= 0 || p.out_tick < 0)
                continue;
            int own = 0, theirs = 0;
            for (int e = 0; e < EXPLOSION_POOL_SIZE; e++) {
                const explosion &x = m.explosions[e];
                if (x.active == 1 && x.col == p.col && x.row == p.row)
                    (book.of[e] == i ? own : theirs)++;
            }
            if (own > 0 && own >= theirs && o.energy > 0)
                out.self_wreck = true;
        }
        for (int i = 0; i < 2; i++) {
            const player &p = m.players[i];
            if (levels[i] == COMPUTER_NONE || p.energy < 1 || m.players[1 - i].energy < 1)
                continue;
            if (std::abs(p.col - anchor_col[i]) > 2 || std::abs(p.row - anchor_row[i]) > 2) {
                anchor_col[i] = p.col;
                anchor_row[i] = p.row;
                anchor_tick[i] = m.tick;
            }
            out.longest_stay = std::max(out.longest_stay, m.tick - anchor_tick[i]);
        }
    }
    out.result = m.result;
    out.ticks = m.result == RESULT_NONE ? -1 : m.result_tick;
    return out;
}

}  // namespace

int main(int argc, char **argv)
{
    const int matches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 16;
    const std::string dir = argc > 2 ? argv[2] : "levels";
    const std::vector<arena> arenas = load_arenas(dir);
    if (arenas.size() < 2)
        std::fprintf(stderr, "no arenas in %s: the empty board only\n", dir.c_str());

    double self_wreck_share = 0;
    int longest_stay = 0;
    for (const pairing &pair : PAIRINGS) {
        int wins_a = 0, wins_b = 0, rest = 0, self_wrecks = 0;
        std::vector<int> decided;
        for (int k = 0; k < matches; k++) {
            // Each arena in turn, each from both corners.
            const arena &where = arenas[size_t(k / 2) % arenas.size()];
            const bool a_first = k % 2 == 0;
            const uint32_t seed = uint32_t(k * 7919 + pair.a * 31 + pair.b);
            outcome o = a_first ? play(where, pair.a, pair.b, seed) : play(where, pair.b, pair.a, seed);
            const int a_won = a_first ? RESULT_P1_WINS : RESULT_P2_WINS;
            const int b_won = a_first ? RESULT_P2_WINS : RESULT_P1_WINS;
            if (o.result == a_won)
                wins_a++;
            else if (o.result == b_won)
                wins_b++;
            else
                rest++;
            if (o.result == a_won || o.result == b_won)
                decided.push_back(o.ticks);
            self_wrecks += o.self_wreck;
            longest_stay = std::max(longest_stay, o.longest_stay);
            if (std::getenv("LEAGUE_VERBOSE"))
                std::fprintf(stderr, "  [%u] %s vs %s on %s, %s first: result %d at %.1f s%s, stay %.1f s\n", seed,
                             side_name(pair.a), side_name(pair.b), where.name.c_str(),
                             a_first ? side_name(pair.a) : side_name(pair.b), o.result,
                             o.ticks / double(TICKS_PER_SECOND), o.self_wreck ? ", self-wreck" : "",
                             o.longest_stay / double(TICKS_PER_SECOND));
        }
        double median = 0;
        if (!decided.empty()) {
            std::sort(decided.begin(), decided.end());
            const size_t n = decided.size();
            median = n % 2 ? decided[n / 2] : (decided[n / 2 - 1] + decided[n / 2]) / 2.0;
            median /= TICKS_PER_SECOND;
        }
        std::printf("%s vs %s: %d - %d - %d of %d, median %.1f s\n", side_name(pair.a),
                    side_name(pair.b), wins_a, wins_b, rest, matches, median);
        std::fflush(stdout);
        if (pair.count_self_wrecks)
            self_wreck_share = 100.0 * self_wrecks / matches;
    }
    std::printf("hard vs hard: %.0f %% of matches ended with a player wrecked by its own weapons "
                "while the other was alive\n", self_wreck_share);
    std::printf("longest stay in one 5 x 5 patch while both were in: %.1f s\n",
                longest_stay / double(TICKS_PER_SECOND));
    for (int level = COMPUTER_EASY; level < COMPUTER_LEVELS; level++)
        if (costs[level].calls)
            std::printf("thinking, %s: %.1f us a tick on average, %.0f us at worst\n",
                        computer_level_name(level), 1e6 * costs[level].total / costs[level].calls,
                        1e6 * costs[level].worst);
    return 0;
}
