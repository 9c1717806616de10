// The computer player: its danger map held to the tick's own course, its legs
// to the tick's own walking, and its choices in scripted moments (out of a
// blast's way, a missile only where it hits and spares the firer, the weapon
// changed on purpose), then whole matches: recorded and replayed, and never
// stalled.
#include <cstring>
#include <vector>

#include "computer.h"
#include "match_fixture.h"
#include "replay.h"

namespace {

class Computer : public MatchTest {
protected:
    static inline danger_map map;
    static inline computer_mind mind;
    static inline walk_grid grid;
    static inline walk_path path;

    // A weapon in a given slot of the pool, as if fired some ticks ago.
    static void put(int slot, int type, int col, int row, int fuse, int dx = 0, int dy = 0)
    {
        bombs[slot] = bomb{1, type, col, row, dx, dy, fuse, 1, 0.0};
    }

    static void put_explosion(int slot, int col, int row, int life)
    {
        explosions[slot] = explosion{1, col, row, life, 0.0};
    }

    static void fill(int32_t tile)
    {
        for (auto &column : board)
            for (int32_t &cell : column)
                cell = tile;
    }

    // Player 0 played by the computer at `level` for n ticks, player 1 idle;
    // returns the words it gave.
    static std::vector<control_word> play(int n, int level = COMPUTER_HARD, bool fresh = true)
    {
        if (fresh)
            reset_computer(mind, level, 7);
        std::vector<control_word> words;
        for (int t = 0; t < n; t++) {
            words.push_back(computer_controls(m, 0, &mind));
            match_tick(m, words.back(), 0);
        }
        return words;
    }

    static int missiles_of(int owner)
    {
        int n = 0;
        for (const bomb &b : bombs)
            n += b.active == 1 && b.type == WEAPON_MISSILE && b.owner == owner;
        return n;
    }
};

}  // namespace

// ---- the danger map ----------------------------------------------------------------

TEST_F(Computer, TheMapForeseesEveryExplosionOfTheTicksOwnCourseChainsIncluded)
{
    // A big bomb in slot 5 sets off the small bomb in slot 9 in its own tick;
    // that one's blast reaches the bomb in slot 3 only in the next tick. A
    // fourth bomb is out of everyone's reach and keeps to its fuse; a missile
    // flies into a wall; an explosion already burning lingers.
    put(5, WEAPON_BIG_BOMB, 20, 10, 30);
    put(9, WEAPON_BOMB, 23, 10, 49);
    put(3, WEAPON_BOMB, 24, 10, 49);
    put(7, WEAPON_BOMB, 30, 10, 60);
    put(12, WEAPON_MISSILE, 30, 20, 20, 1, 0);
    board[36][20] = 1;
    put_explosion(0, 40, 5, 9);
    // Both players stand in blasts and stay there, one in two at once.
    place(0, 22, 10);
    place(1, 24, 11);
    build_danger_map(map, m, nullptr);
    const int foreseen[2] = {damage_between(map, 22, 10, 1, DANGER_HORIZON),
                             damage_between(map, 24, 11, 1, DANGER_HORIZON)};

    for (int t = 1; t <= DANGER_HORIZON; t++) {
        ticks_with(1, 0, 0);
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            for (int r = 0; r < LEVEL_ROWS; r++) {
                const bool burning = explosions_on(c, r) > 0;
                const bool danger = danger_between(map, c, r, t, t);
                // The missile's own way is danger just before it passes,
                // whoever might step there.
                const bool on_missile_way = r == 20 && c > 30 && c < 36;
                if (burning || !on_missile_way) {
                    ASSERT_EQ(danger, burning) << "cell (" << c << "," << r << ") in tick " << t;
                }
            }
    }
    EXPECT_EQ(START_ENERGY - players[0].energy, foreseen[0]);
    EXPECT_EQ(START_ENERGY - players[1].energy, foreseen[1]);
    EXPECT_EQ(foreseen[0], 2 * BLAST_HURTS_TICKS) << "the big blast and the plus of slot 9";
}

TEST_F(Computer, AMissileIsFollowedBothAsIfItMeetsAPlayerAndAsIfItFliesPast)
{
    put(0, WEAPON_MISSILE, 5, 10, 20, 1, 0);
    place(1, 12, 10);
    build_danger_map(map, m, nullptr);
    // Met: the blast centred on the cell before the player's, in the tick
    // the missile enters the player's cell.
    EXPECT_TRUE(danger_between(map, 11, 10, 6, 6));
    EXPECT_TRUE(danger_between(map, 12, 10, 6, 20));
    // Missed: it flies on to its last cell, 20 advances out.
    EXPECT_TRUE(danger_between(map, 25, 10, 20, 20));
    // The player's cell is danger before the missile comes, so a walker
    // knows to leave it; the cells beside the way are not.
    EXPECT_TRUE(danger_between(map, 12, 10, 4, 5));
    EXPECT_FALSE(danger_between(map, 14, 11, 1, DANGER_HORIZON));

    // The player stays: the met course is the true one.
    ticks_with(30, 0, 0);
    EXPECT_EQ(START_ENERGY - players[1].energy, BLAST_HURTS_TICKS);
}

// ---- walking -----------------------------------------------------------------------

TEST_F(Computer, ItsLegsMoveExactlyAsTheTickMovesAPlayer)
{
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++)
            board[c][r] = next() % 10 < 3 ? 1 + 2 * int(next() % 4) : 0;
    int tried = 0;
    for (int sample = 0; sample < 20000 && tried < 3000; sample++) {
        const int x = 2 + 2 * int(next() % 313), y = 2 + 2 * int(next() % 199);
        if (!box_fits(m, x, y))
            continue;
        tried++;
        const control_word held = control_word(next() % 16);
        int wx = x, wy = y;
        walk_one_tick(m, wx, wy, held);
        players[0].x = x;
        players[0].y = y;
        player_turn(m, 0, held);
        ASSERT_EQ(wx, players[0].x) << "from " << x << "," << y << " holding " << int(held);
        ASSERT_EQ(wy, players[0].y) << "from " << x << "," << y << " holding " << int(held);
        ASSERT_EQ(centre_col(wx), players[0].col);
        ASSERT_EQ(centre_row(wy), players[0].row);
    }
    EXPECT_EQ(tried, 3000);
}

TEST_F(Computer, WalksAPlannedWayThroughAMazeOfOneCellCorridorsInThePlannedTime)
{
    // A serpent of one-cell corridors: rows 0, 2, .. 10 joined at
    // alternate ends, from the start cell to (0, 10).
    fill(1);
    for (int r = 0; r <= 10; r += 2)
        for (int c = 0; c <= 20; c++)
            board[c][r] = 0;
    for (int r = 1; r < 10; r += 2)
        board[r % 4 == 1 ? 20 : 0][r] = 0;
    plan_walks(grid, m, players[0].x, players[0].y, nullptr, 0, 0);
    ASSERT_TRUE(path_to(grid, 0, 10, path));
    EXPECT_EQ(path.length, 6 * 21 + 5);
    const int planned = grid.arrive[0][10];

    int arrived = -1;
    for (int t = 1; t <= planned + 30 && arrived < 0; t++) {
        bool off = false;
        const control_word w = steer(players[0].x, players[0].y, path, off);
        ASSERT_FALSE(off) << "tick " << t;
        ticks_with(1, w, 0);
        if (players[0].col == 0 && players[0].row == 10)
            arrived = t;
    }
    ASSERT_GT(arrived, 0);
    // A turn takes a tick more or less than going straight, by its ways in
    // and out; over ten turns the plan is out by less than a cell's time.
    EXPECT_LT(std::abs(arrived - planned), TICKS_PER_CELL) << "planned " << planned << ", came in " << arrived;
}

// ---- keeping out of blasts ---------------------------------------------------------

TEST_F(Computer, EveryLevelLeavesABombsReachBeforeItGoesOff)
{
    for (int level = COMPUTER_EASY; level <= COMPUTER_HARD; level++) {
        start_match();
        place(0, 10, 10);
        put(0, WEAPON_BOMB, 10, 10, 25);
        put(1, WEAPON_BIG_BOMB, 12, 12, 40);
        play(90, level);
        EXPECT_EQ(players[0].energy, START_ENERGY) << computer_level_name(level);
    }
}

TEST_F(Computer, StepsOutOfAnOncomingMissilesWay)
{
    for (int level : {COMPUTER_NORMAL, COMPUTER_HARD}) {
        start_match();
        place(0, 14, 10);
        put(0, WEAPON_MISSILE, 4, 10, 20, 1, 0);
        play(40, level);
        EXPECT_EQ(players[0].energy, START_ENERGY) << computer_level_name(level);
    }
}

TEST_F(Computer, WaitsForABlastToClearRatherThanWalkThroughIt)
{
    // One corridor, row 10 and then column 20 down: the other player out of
    // line round the corner, explosions burning across the way.
    fill(1);
    for (int c = 0; c <= 20; c++)
        board[c][10] = 0;
    for (int r = 10; r <= 30; r++)
        board[20][r] = 0;
    place(0, 5, 10);
    place(1, 20, 30);
    for (int i = 0; i < 3; i++)
        put_explosion(i, 12 + i, 10, 15);
    play(60);
    EXPECT_EQ(players[0].energy, START_ENERGY);
    EXPECT_GT(players[0].col, 14) << "it went on once the way was clear";
}

// ---- shooting ---------------------------------------------------------------------------

TEST_F(Computer, FiresAMissileAtAPlayerInLineWithNothingBetweenAndFarEnough)
{
    place(0, 10, 10);
    place(1, 16, 10);
    players[0].weapon = WEAPON_MISSILE;
    players[0].facing = FACING_RIGHT;
    const std::vector<control_word> words = play(30);
    EXPECT_TRUE(words[0] & CONTROL_FIRE);
    EXPECT_LT(players[1].energy, START_ENERGY);
    EXPECT_EQ(players[0].energy, START_ENERGY);
}

TEST_F(Computer, NoMissileThroughAWallNorFromSoNearThatItsBlastWouldReachTheFirer)
{
    place(0, 10, 10);
    place(1, 16, 10);
    board[13][10] = 1;
    players[0].weapon = WEAPON_MISSILE;
    players[0].facing = FACING_RIGHT;
    EXPECT_FALSE(play(1)[0] & CONTROL_FIRE) << "through the wall";

    start_match();
    place(0, 10, 10);
    place(1, 12, 10);
    players[0].weapon = WEAPON_MISSILE;
    players[0].facing = FACING_RIGHT;
    EXPECT_FALSE(play(1)[0] & CONTROL_FIRE) << "two cells off";
    // It backs off to shoot instead, unhurt.
    play(120, COMPUTER_HARD, false);
    EXPECT_LT(players[1].energy, START_ENERGY);
    EXPECT_EQ(players[0].energy, START_ENERGY);
}

TEST_F(Computer, ChangesToTheMissileWithOnePressThenFires)
{
    place(0, 10, 10);
    place(1, 16, 10);
    players[0].facing = FACING_RIGHT;
    const std::vector<control_word> words = play(4);
    EXPECT_EQ(words[0], CONTROL_CHANGE) << "change, standing, firing nothing";
    EXPECT_TRUE(words[1] & CONTROL_FIRE);
    EXPECT_FALSE(words[1] & CONTROL_CHANGE);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    EXPECT_EQ(missiles_of(0), 1);
}

TEST_F(Computer, TheBigBombForAPlayerSittingStillOutOfLineInTheOpen)
{
    place(0, 10, 10);
    place(1, 12, 12);
    reset_computer(mind, COMPUTER_HARD, 7);
    // It has watched the other sit there for five seconds.
    mind.other_x = players[1].x;
    mind.other_y = players[1].y;
    mind.other_still_since = -5 * TICKS_PER_SECOND;
    const std::vector<control_word> words = play(3, COMPUTER_HARD, false);
    EXPECT_EQ(words[0], CONTROL_CHANGE);
    EXPECT_EQ(words[1], CONTROL_CHANGE);
    EXPECT_EQ(words[2], CONTROL_FIRE);
    EXPECT_EQ(players[0].weapon, WEAPON_BIG_BOMB);
    EXPECT_EQ(active_bombs(), 1);
    // Then out of its reach before it goes off; the other is not.
    play(110, COMPUTER_HARD, false);
    EXPECT_EQ(players[0].energy, START_ENERGY);
    EXPECT_LT(players[1].energy, START_ENERGY);
}

// ---- whole matches -----------------------------------------------------------------------

TEST_F(Computer, AComputersMatchIsRecordedAsPlayedAndTheSameStartPlaysTheSame)
{
    profiles[1].computer = COMPUTER_HARD;
    choose_match_sources();
    auto record = [](bool hold_its_keys) {
        live_match.anim_clock = 0.0f;
        start_match();
        for (int slot = 0; slot < KEY_SLOTS; slot++)
            key[profiles[1].keys[slot]] = hold_its_keys;   // a computer's keys do nothing
        for (int t = 0; t < 1200; t++)
            run_one_tick();
        release_input();
        return match_hash(live_match);
    };
    const uint64_t first = record(false);
    EXPECT_LT(players[0].energy, START_ENERGY) << "it went for the idle player";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(recording_bytes(live_match, bytes));
    replay_view view;
    ASSERT_EQ(read_replay(bytes.data(), bytes.size(), view), nullptr);
    EXPECT_EQ(view.kinds[0], REPLAY_PERSON);
    EXPECT_EQ(view.kinds[1], COMPUTER_HARD);
    EXPECT_TRUE(verify_replay(view).ok);
    EXPECT_EQ(record(true), first);
    profiles[1].computer = COMPUTER_NONE;
    choose_match_sources();
}

TEST_F(Computer, NoComputerStallsTenSecondsInAMatchOfThreeMinutes)
{
    // The maze arena and the empty board, hard against hard: neither goes
    // ten seconds without a shot or leaving a patch of 5 x 5 cells while
    // both are in.
    for (const char *arena : {BLAST_SOURCE_DIR "/levels/GLACIER", ""}) {
        clear_board(0);
        if (*arena)
            read_level(arena);
        start_match();
        computer_mind minds[2];
        for (int i = 0; i < 2; i++)
            reset_computer(minds[i], COMPUTER_HARD, uint32_t(40 + i));
        int home[2][2] = {{-9, -9}, {-9, -9}}, since[2] = {0, 0};
        for (int t = 0; t < 180 * TICKS_PER_SECOND && m.result == RESULT_NONE; t++) {
            const int before = active_bombs();
            control_word w[2];
            for (int i = 0; i < 2; i++)
                w[i] = computer_controls(m, i, &minds[i]);
            match_tick(m, w[0], w[1]);
            for (int i = 0; i < 2; i++) {
                const player &p = players[i];
                const bool fired = (w[i] & CONTROL_FIRE) && active_bombs() > before;
                if (std::abs(p.col - home[i][0]) > 2 || std::abs(p.row - home[i][1]) > 2 || fired) {
                    home[i][0] = p.col;
                    home[i][1] = p.row;
                    since[i] = m.tick;
                }
                if (players[0].energy > 0 && players[1].energy > 0) {
                    ASSERT_LT(m.tick - since[i], 10 * TICKS_PER_SECOND)
                        << "player " << i + 1 << " at (" << p.col << "," << p.row << ") on " << arena;
                }
            }
        }
    }
}
