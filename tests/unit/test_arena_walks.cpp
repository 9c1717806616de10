// The bundled arenas suit the way players move: 2 pixels a step, a 12-pixel
// body tested at five points. A path of floor cells is not enough, since a
// one-cell gap admits a player only from one exact pixel. So each arena is
// walked with the match's own tick, key by key, from each player's start to
// the other's; and walked again by a player who can only stop within four
// pixels of where they mean to, who must get through as well.
#include "match_fixture.h"

#include <cstring>
#include <filesystem>
#include <queue>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int STEP = 2, SLACK = 4;
constexpr int MAX_X = (LEVEL_COLUMNS - 1) * CELL_SIZE + BOARD_LEFT;
constexpr int MAX_Y = (LEVEL_ROWS - 1) * CELL_SIZE + BOARD_TOP;

std::vector<fs::path> bundled_levels()
{
    fs::path dir = fs::path(__FILE__).parent_path().parent_path().parent_path() / "levels";
    std::vector<fs::path> files;
    for (auto &entry : fs::directory_iterator(dir))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    return files;
}

// Positions a player's corner can take: even pixels, as the start values
// and the 2-pixel step leave them.
struct grid {
    std::vector<bool> seen = std::vector<bool>((MAX_X + 1) * (MAX_Y + 1), false);
    bool visit(int x, int y)
    {
        if (seen[y * (MAX_X + 1) + x])
            return false;
        seen[y * (MAX_X + 1) + x] = true;
        return true;
    }
};

// The player's box as the match tests it, through the game's own probe.
bool can_stand(int x, int y, int p)
{
    match_state &m = live_match;
    return probe_player_cell(m, x + 1, y + 1, p) == 0 && probe_player_cell(m, x + 1, y + 11, p) == 0 &&
           probe_player_cell(m, x + 11, y + 11, p) == 0 && probe_player_cell(m, x + 11, y + 1, p) == 0 &&
           probe_player_cell(m, x + 6, y + 6, p) == 0;
}

class ArenaWalk : public MatchTest {
protected:
    // The level onto the board, and the board into the match.
    void load(const fs::path &level)
    {
        read_level(level.c_str());
        std::memcpy(live_match.board, ::board, sizeof live_match.board);
    }

    // Breadth-first over the positions player p reaches by holding one
    // direction key for one tick of the real match, from its start.
    bool tick_walk_reaches(int p, int goal_x, int goal_y)
    {
        const int directions[] = {KEY_SLOT_LEFT, KEY_SLOT_RIGHT, KEY_SLOT_UP, KEY_SLOT_DOWN};
        players[1 - p].energy = 0;  // the other player stands aside
        grid g;
        std::queue<std::pair<int, int>> todo;
        todo.push({players[p].x, players[p].y});
        g.visit(players[p].x, players[p].y);
        while (!todo.empty()) {
            auto [x, y] = todo.front();
            todo.pop();
            if (x == goal_x && y == goal_y)
                return true;
            for (int slot : directions) {
                players[p].x = x;
                players[p].y = y;
                hold(profiles[p].keys[slot]);
                ticks(1);
                let_go(profiles[p].keys[slot]);
                if (g.visit(players[p].x, players[p].y))
                    todo.push({players[p].x, players[p].y});
            }
        }
        return false;
    }
};

// Where a player who means to stand at (x, y) may really stop: up to SLACK
// pixels either way along one axis, short of anything that stops them.
std::vector<std::pair<int, int>> near_misses(int x, int y, bool along_x, int p)
{
    std::vector<std::pair<int, int>> spots = {{x, y}};
    for (int dir : {-1, 1}) {
        int cx = x, cy = y;
        for (int moved = STEP; moved <= SLACK; moved += STEP) {
            int nx = along_x ? cx + dir * STEP : cx, ny = along_x ? cy : cy + dir * STEP;
            if (!can_stand(nx, ny, p))
                break;
            cx = nx;
            cy = ny;
            spots.push_back({cx, cy});
        }
    }
    return spots;
}

// A step counts only if it can be taken from every near miss across it: the
// player turning into a side way must not need to stop on the exact pixel.
bool sloppy_walk_reaches(int p, int start_x, int start_y, int goal_x, int goal_y)
{
    grid g;
    std::queue<std::pair<int, int>> todo;
    todo.push({start_x, start_y});
    g.visit(start_x, start_y);
    const int steps[4][2] = {{-STEP, 0}, {STEP, 0}, {0, -STEP}, {0, STEP}};
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop();
        if (x == goal_x && y == goal_y)
            return true;
        for (auto &s : steps) {
            bool across_x = s[0] == 0;  // a vertical step misses along x
            bool reliable = true;
            for (auto [mx, my] : near_misses(x, y, across_x, p))
                reliable = reliable && can_stand(mx + s[0], my + s[1], p);
            if (reliable && g.visit(x + s[0], y + s[1]))
                todo.push({x + s[0], y + s[1]});
        }
    }
    return false;
}

}  // namespace

TEST_F(ArenaWalk, EachPlayerWalksToTheOtherStartInEveryBundledArena)
{
    auto levels = bundled_levels();
    ASSERT_GE(levels.size(), 7u);
    for (auto &level : levels) {
        for (int p = 0; p < 2; p++) {
            GameTest::SetUp();  // both players back on their starts
            use_default_bindings();
            load(level);
            int goal_x = players[1 - p].x, goal_y = players[1 - p].y;
            EXPECT_TRUE(tick_walk_reaches(p, goal_x, goal_y))
                << level.filename() << ": player " << p + 1 << " cannot walk to the other start";
        }
    }
}

TEST_F(ArenaWalk, NoBundledArenaAsksForAPixelExactTurn)
{
    for (auto &level : bundled_levels()) {
        load(level);
        for (int p = 0; p < 2; p++) {
            int from_x = players[p].x, from_y = players[p].y;
            int to_x = players[1 - p].x, to_y = players[1 - p].y;
            EXPECT_TRUE(sloppy_walk_reaches(p, from_x, from_y, to_x, to_y))
                << level.filename() << ": player " << p + 1
                << " needs to stop on an exact pixel somewhere on every way to the other start";
        }
    }
}

TEST_F(ArenaWalk, AOneCellSideGapNeedsAnExactStopAndATwoCellOneDoesNot)
{
    // The walk itself, on a made board: corridors two cells high along the
    // top and the bottom, walls between them but for one side gap.
    auto build = [](int gap_width) {
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            for (int r = 0; r < LEVEL_ROWS; r++)
                board[c][r] = r <= 1 || r >= LEVEL_ROWS - 2 ? 0 : 3;
        for (int c = 20; c < 20 + gap_width; c++)
            for (int r = 2; r < LEVEL_ROWS - 2; r++)
                board[c][r] = 0;
    };
    build(1);
    EXPECT_TRUE(tick_walk_reaches(0, MAX_X, MAX_Y)) << "exact stops get through a one-cell gap";
    EXPECT_FALSE(sloppy_walk_reaches(0, BOARD_LEFT, BOARD_TOP, MAX_X, MAX_Y));
    build(2);
    EXPECT_TRUE(sloppy_walk_reaches(0, BOARD_LEFT, BOARD_TOP, MAX_X, MAX_Y));
}
