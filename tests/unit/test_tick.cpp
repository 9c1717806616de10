// The match tick: walking with the five-point probe, firing, changing weapon,
// damage, and the loop pass that feeds it.
#include "match_fixture.h"

namespace {

class Tick : public MatchTest {
protected:
    // Ticks with player 0's fire key held; records the ticks (1-based) in
    // which a new bomb or missile appeared.
    static std::vector<int> fire_times(int n)
    {
        std::vector<int> times;
        hold(profiles[0].keys[KEY_SLOT_FIRE]);
        for (int t = 1; t <= n; t++) {
            int before = players[0].fire_delay;
            ticks(1);
            if (players[0].fire_delay > before)
                times.push_back(t);
        }
        return times;
    }

    // Player p on cell (20, 20), clear of every wall and edge, holds these
    // keys for one tick.
    static void one_tick_in_the_open(int p, std::initializer_list<int> held)
    {
        place(p, 20, 20);
        for (int k : held)
            hold(k);
        ticks(1);
    }
};

}  // namespace

// ---- the probe -----------------------------------------------------------

TEST_F(Tick, ProbeSharesBorderPixelsWithTheHigherCell)
{
    EXPECT_EQ(probe_player_cell(14, 26, 0), 0);
    EXPECT_EQ(players[0].col, 1);
    EXPECT_EQ(players[0].row, 2);
    EXPECT_EQ(probe_player_cell(638, 410, 0), 0);
    EXPECT_EQ(players[0].col, 52);
    EXPECT_EQ(players[0].row, 33);
}

TEST_F(Tick, ProbeOutsideTheArenaIsBlockedWithoutReadingTheBoard)
{
    EXPECT_EQ(probe_player_cell(639, 100, 1), -1);
    EXPECT_EQ(players[1].col, -1);
    EXPECT_EQ(players[1].row, 8);
    EXPECT_EQ(probe_player_cell(100, 411, 1), -1);
    EXPECT_EQ(players[1].row, -1);
    EXPECT_EQ(probe_player_cell(1, 1, 1), -1);
    EXPECT_EQ(players[1].col, -1);
    EXPECT_EQ(players[1].row, -1);
}

TEST_F(Tick, ProbeIsBlockedOnWallTilesOnly)
{
    board[3][4] = 12;
    EXPECT_EQ(probe_player_cell(cell_x(3), cell_y(4), 0), -1);
    board[3][4] = ANIMATED_TILE;
    EXPECT_EQ(probe_player_cell(cell_x(3), cell_y(4), 0), 0);
    board[3][4] = 1000;
    EXPECT_EQ(probe_player_cell(cell_x(3), cell_y(4), 0), 0);
}

// ---- walking -------------------------------------------------------------

TEST_F(Tick, AtTheLeftEdgeLeftTurnsAndAnimatesWithoutMoving)
{
    hold(KEY_LEFT);
    ticks(1);
    EXPECT_EQ(players[0].x, 2);
    EXPECT_EQ(players[0].facing, FACING_LEFT);
    EXPECT_DOUBLE_EQ(players[0].frame, 0.5);
}

TEST_F(Tick, WalkingIntoAWallStopsButStillAnimates)
{
    board[1][0] = 5;
    hold(KEY_RIGHT);
    ticks(3);
    EXPECT_EQ(players[0].x, 2);
    EXPECT_DOUBLE_EQ(players[0].frame, 1.5);
    EXPECT_EQ(players[0].facing, FACING_RIGHT);
}

TEST_F(Tick, ACorridorIsEnteredOnlyFromAnAlignedPosition)
{
    // A one-cell gap at column 10 in a wall along row 5.
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        if (c != 10)
            board[c][5] = 1;
    hold(KEY_DOWN);
    for (int x : {120, 124}) {
        players[0].x = x;
        players[0].y = cell_y(4);
        ticks(1);
        EXPECT_EQ(players[0].y, cell_y(4)) << "x " << x;
    }
    players[0].x = cell_x(10);
    ticks(1);
    EXPECT_EQ(players[0].y, cell_y(4) + 2);
    ticks(4);
    EXPECT_EQ(players[0].row, 5);
}

TEST_F(Tick, LeftAndUpTogetherWalkDiagonally)
{
    one_tick_in_the_open(1, {KEY_A, KEY_W});
    EXPECT_EQ(players[1].x, cell_x(20) - 2);
    EXPECT_EQ(players[1].y, cell_y(20) - 2);
    EXPECT_EQ(players[1].facing, FACING_UP);
    EXPECT_DOUBLE_EQ(players[1].frame, 1.0);
}

TEST_F(Tick, LeftAndRightCancelAndTheLaterKeyDecidesTheFacing)
{
    one_tick_in_the_open(1, {KEY_A, KEY_D});
    EXPECT_EQ(players[1].x, cell_x(20));
    EXPECT_EQ(players[1].facing, FACING_RIGHT);
}

TEST_F(Tick, OneKeyBoundToLeftAndRightWalksThereAndBack)
{
    profiles[0].keys[KEY_SLOT_RIGHT] = KEY_LEFT;
    one_tick_in_the_open(0, {KEY_LEFT});
    EXPECT_EQ(players[0].x, cell_x(20));
    EXPECT_EQ(players[0].facing, FACING_RIGHT);
    EXPECT_DOUBLE_EQ(players[0].frame, 1.0);
}

TEST_F(Tick, AllFourKeysFaceDownAndWrapTheFramePastSeven)
{
    players[0].frame = 6.5;
    one_tick_in_the_open(0, {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN});
    EXPECT_DOUBLE_EQ(players[0].frame, 0.0);   // 8.5 wraps at the end of the tick
    EXPECT_EQ(players[0].facing, FACING_DOWN);
    EXPECT_EQ(players[0].x, cell_x(20));
    EXPECT_EQ(players[0].y, cell_y(20));
}

TEST_F(Tick, AFrameOfExactlySevenStays)
{
    players[0].frame = 6.5;
    hold(KEY_DOWN);
    ticks(1);
    EXPECT_DOUBLE_EQ(players[0].frame, 7.0);
    ticks(1);
    EXPECT_DOUBLE_EQ(players[0].frame, 0.0);
}

TEST_F(Tick, ThePlayersCellIsTheCentresCellAfterEveryTurn)
{
    players[1].col = players[1].row = 0;
    ticks(1);
    EXPECT_EQ(players[0].col, 0);
    EXPECT_EQ(players[1].col, 52);
    EXPECT_EQ(players[1].row, 33);
}

TEST_F(Tick, BindingsOutsideTheKeyArrayAreNeverHeld)
{
    profiles[0].keys[KEY_SLOT_RIGHT] = -5;
    profiles[0].keys[KEY_SLOT_DOWN] = 5000;
    profiles[0].keys[KEY_SLOT_CHANGE] = KEY_MAX;
    ticks(2);
    EXPECT_EQ(players[0].x, 2);
    EXPECT_EQ(players[0].y, 2);
    EXPECT_EQ(players[0].weapon, WEAPON_BOMB);
}

// ---- firing --------------------------------------------------------------

TEST_F(Tick, HeldFireRepeatsEvery12SmallBombsWhileWalking)
{
    hold(KEY_RIGHT);
    EXPECT_EQ(fire_times(30), (std::vector<int>{1, 13, 25}));
}

TEST_F(Tick, HeldFireRepeatsEvery6Missiles)
{
    players[0].weapon = WEAPON_MISSILE;
    players[0].facing = FACING_DOWN;
    EXPECT_EQ(fire_times(14), (std::vector<int>{1, 7, 13}));
}

TEST_F(Tick, HeldFireRepeatsEvery24BigBombsWhileWalking)
{
    players[0].weapon = WEAPON_BIG_BOMB;
    hold(KEY_DOWN);
    EXPECT_EQ(fire_times(30), (std::vector<int>{1, 25}));
}

TEST_F(Tick, ABombOnThePlayersCellBlocksFiring)
{
    EXPECT_EQ(fire_times(30), std::vector<int>{1});
    EXPECT_EQ(active_bombs(), 1);
    EXPECT_EQ(players[0].fire_delay, 0);

    // Whoever's it is, a missile passing through blocks it too: here it
    // flies into the cell the player steps into in the same tick.
    clear_bombs();
    bombs[0] = bomb{1, WEAPON_MISSILE, 2, 0, -1, 0, 20, 0, 0.0};
    players[0].x = 6;                 // centre two pixels short of column 1
    hold(KEY_RIGHT);
    ticks(1);
    EXPECT_EQ(players[0].col, 1);
    EXPECT_EQ(bombs[0].col, 1);
    EXPECT_EQ(active_bombs(), 1);
}

TEST_F(Tick, AFullBombPoolIgnoresTheFireKey)
{
    for (bomb &b : bombs)
        b = bomb{1, WEAPON_BOMB, 30, 20, 0, 0, 1000, 0, 0.0};
    hold(KEY_RCONTROL);
    ticks(1);
    EXPECT_EQ(players[0].fire_delay, 0);
}

TEST_F(Tick, ASharedFireKeyFiresForBoth)
{
    profiles[1].keys[KEY_SLOT_FIRE] = KEY_RCONTROL;
    hold(KEY_RCONTROL);
    ticks(1);
    EXPECT_EQ(active_bombs(), 2);
    EXPECT_EQ(bombs[1].col, 52);
}

// ---- changing weapon -----------------------------------------------------

TEST_F(Tick, TheChangeKeyCyclesOncePerPress)
{
    hold(KEY_RSHIFT);
    ticks(1);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    EXPECT_EQ(key[KEY_RSHIFT], 0);
    ticks(1);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    hold(KEY_RSHIFT);
    ticks(1);
    hold(KEY_RSHIFT);
    ticks(1);
    EXPECT_EQ(players[0].weapon, WEAPON_BOMB);
}

TEST_F(Tick, FireAndChangeInOneTickFireTheOldWeapon)
{
    hold(KEY_RCONTROL);
    hold(KEY_RSHIFT);
    ticks(1);
    EXPECT_EQ(bombs[0].type, WEAPON_BOMB);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
}

TEST_F(Tick, ASharedChangeKeyGoesToTheFirstLivingPlayer)
{
    profiles[1].keys[KEY_SLOT_CHANGE] = KEY_RSHIFT;
    hold(KEY_RSHIFT);
    ticks(1);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    EXPECT_EQ(players[1].weapon, WEAPON_BOMB);

    players[0].energy = 0;
    hold(KEY_RSHIFT);
    ticks(1);
    EXPECT_EQ(players[0].weapon, WEAPON_MISSILE);
    EXPECT_EQ(players[1].weapon, WEAPON_MISSILE);
}

// ---- damage and players out ----------------------------------------------

TEST_F(Tick, OneExplosionTakes15EnergyOverItsLife)
{
    bombs[0] = bomb{1, WEAPON_BOMB, 0, 0, 0, 0, 1, 0, 0.0};   // goes off in the next tick
    ticks(15);
    EXPECT_EQ(players[0].energy, START_ENERGY - 15);
    EXPECT_EQ(active_explosions(), 5);
    ticks(1);
    EXPECT_EQ(players[0].energy, START_ENERGY - 15);
    EXPECT_EQ(active_explosions(), 0);
}

TEST_F(Tick, EveryExplosionOnTheCellCounts)
{
    place(1, 20, 20);
    spawn_explosion(20, 20);
    spawn_explosion(20, 20);
    spawn_explosion(21, 20);
    ticks(1);
    EXPECT_EQ(players[1].energy, START_ENERGY - 2);
    EXPECT_EQ(players[0].energy, START_ENERGY);
}

// Each player alike: the blasts on an out player's cell still count.
class PlayerOut : public Tick, public ::testing::WithParamInterface<int> {};

TEST_P(PlayerOut, StopsActingButKeepsTakingDamage)
{
    const int p = GetParam();
    const int32_t *keys = profiles[p].keys;
    place(p, 20, 20);
    players[p].energy = 1;
    spawn_explosion(20, 20);
    hold(keys[KEY_SLOT_RIGHT]);
    ticks(1);
    EXPECT_EQ(players[p].energy, 0);
    int x = players[p].x;
    double frame = players[p].frame;
    hold(keys[KEY_SLOT_FIRE]);
    hold(keys[KEY_SLOT_CHANGE]);
    ticks(3);
    EXPECT_EQ(players[p].x, x);
    EXPECT_EQ(players[p].frame, frame);
    EXPECT_EQ(players[p].facing, FACING_RIGHT);
    EXPECT_EQ(active_bombs(), 0);
    EXPECT_EQ(players[p].weapon, WEAPON_BOMB);
    EXPECT_EQ(key[keys[KEY_SLOT_CHANGE]], 1) << "only a turn consumes the change key";
    EXPECT_EQ(players[p].energy, -3);
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, PlayerOut, ::testing::Values(0, 1));

TEST_F(Tick, EscEndsTheMatchButTheTickRunsToItsEnd)
{
    spawn_explosion(0, 0);
    hold(KEY_ESC);
    hold(KEY_DOWN);
    ticks(1);
    EXPECT_EQ(live_match.leave_tick, 0);
    EXPECT_EQ(players[0].y, 4);
    EXPECT_EQ(players[0].energy, START_ENERGY - 1);
}

TEST_F(Tick, TheAnimationClockStepsAQuarterAndWrapsAtEight)
{
    anim_clock = 7.5f;
    ticks(1);
    EXPECT_FLOAT_EQ(anim_clock, 7.75f);
    ticks(1);
    EXPECT_FLOAT_EQ(anim_clock, 0.0f);
}

// ---- the loop pass and the timers ----------------------------------------

TEST_F(Tick, ALoopPassRunsEveryPendingTickThenDrawsOneFrame)
{
    players[0].fire_delay = 5;
    players[1].fire_delay = 2;
    players[1].energy = 0;           // delays count down for players out too
    frames_drawn = 0;
    pending_ticks = 3;
    EXPECT_EQ(match_loop_pass(), 3);
    EXPECT_EQ(pending_ticks.load(), 0);
    EXPECT_EQ(frames_drawn.load(), 1);
    EXPECT_EQ(players[0].fire_delay, 2);
    EXPECT_EQ(players[1].fire_delay, 0);
    EXPECT_FLOAT_EQ(anim_clock, 0.75f);

    EXPECT_EQ(match_loop_pass(), 0);   // drawing is not paced by the ticks
    EXPECT_EQ(frames_drawn.load(), 2);
}

// Each 25 ms owes one tick; each second shows the frames drawn in it.
TEST_F(Tick, EveryTickTheTimerOwesIsRunAndTheRateCountsTheFramesOfOneSecond)
{
    frames_drawn = 0;
    for (int i = 0; i < 3; i++)
        tick_timer_callback();
    EXPECT_EQ(match_loop_pass(), 3);
    for (int i = 0; i < 4; i++)
        match_loop_pass();
    fps_timer_callback();
    EXPECT_EQ(fps.load(), 5);
    fps_timer_callback();              // a second without a frame
    EXPECT_EQ(fps.load(), 0);
}

// What a match starts from, whatever the last one left behind.
TEST_F(Tick, StartingAMatchPutsBothPlayersOnTheirStartCellsWithEverythingCleared)
{
    for (player &p : players) {
        p.x = 300;
        p.y = 200;
        p.speed = 5;
        p.energy = -4;
        p.facing = FACING_LEFT;
        p.frame = 5.5;
        p.fire_delay = 9;
        p.weapon = WEAPON_MISSILE;
    }
    spawn_bomb(10, 10, WEAPON_BIG_BOMB, 0);
    spawn_explosion(5, 5);
    pending_ticks = 7;

    start_match();

    EXPECT_EQ(players[0].x, 2);
    EXPECT_EQ(players[0].y, 2);
    EXPECT_EQ(players[1].x, 626);
    EXPECT_EQ(players[1].y, 398);
    for (const player &p : players) {
        EXPECT_EQ(p.speed, 2);
        EXPECT_EQ(p.energy, 130);
        EXPECT_EQ(p.facing, FACING_DOWN);
        EXPECT_EQ(p.frame, 0.0);
        EXPECT_EQ(p.fire_delay, 0);
        EXPECT_EQ(p.weapon, WEAPON_BOMB);
    }
    EXPECT_EQ(active_bombs(), 0);
    EXPECT_EQ(active_explosions(), 0);
    EXPECT_EQ(pending_ticks.load(), 0);
}
