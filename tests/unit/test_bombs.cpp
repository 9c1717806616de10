// The bomb and explosion pools: spawning, fuses, missiles, blasts and chain
// reactions.
#include <set>
#include <utility>

#include "match_fixture.h"

namespace {

class Bombs : public MatchTest {
protected:
    void SetUp() override
    {
        MatchTest::SetUp();
        // Keep the players out of the missiles' way unless a test says otherwise.
        place(0, 0, 0);
        place(1, 52, 33);
    }

    static void put_bomb(int slot, int type, int col, int row, int fuse)
    {
        bombs[slot] = bomb{1, type, col, row, 0, 0, fuse, 0, 0.0};
    }

    static std::set<std::pair<int, int>> explosion_cells()
    {
        std::set<std::pair<int, int>> cells;
        for (const explosion &e : explosions)
            if (e.active == 1)
                cells.insert({e.col, e.row});
        return cells;
    }

    // Fires player 0's missile from (col, row) facing f and returns its slot.
    static bomb &fire_missile(int col, int row, int f)
    {
        players[0].facing = f;
        spawn_bomb(col, row, WEAPON_MISSILE, 0);
        return bombs[0];
    }
};

}  // namespace

TEST_F(Bombs, SpawnTakesTheLowestFreeSlotAndSetsTheFiresDelay)
{
    bombs[0].active = 1;
    bombs[2].active = 1;
    spawn_bomb(7, 8, WEAPON_BIG_BOMB, 1);
    EXPECT_EQ(bombs[1].active, 1);
    EXPECT_EQ(bombs[1].fuse, 100);
    EXPECT_EQ(bombs[1].col, 7);
    EXPECT_EQ(bombs[1].row, 8);
    EXPECT_EQ(players[1].fire_delay, 24);
    EXPECT_EQ(players[0].fire_delay, 0);

    spawn_bomb(7, 8, WEAPON_BOMB, 0);
    EXPECT_EQ(bombs[3].fuse, 50);
    EXPECT_EQ(players[0].fire_delay, 12);
}

TEST_F(Bombs, AFullPoolDropsTheShotAndSetsNoDelay)
{
    for (int i = 0; i < BOMB_POOL_SIZE; i++)
        put_bomb(i, WEAPON_BOMB, 30, 20, 1000);
    spawn_bomb(5, 5, WEAPON_MISSILE, 0);
    EXPECT_EQ(players[0].fire_delay, 0);
    for (const bomb &b : bombs)
        EXPECT_EQ(b.type, WEAPON_BOMB);
}

TEST_F(Bombs, SmallBombGoesOffOnItsFiftiethAdvanceWithAPlusBlast)
{
    spawn_bomb(10, 10, WEAPON_BOMB, 0);
    for (int i = 0; i < 49; i++)
        advance_bombs();
    EXPECT_EQ(bombs[0].active, 1);
    EXPECT_EQ(static_cast<int>(bombs[0].frame), 5);   // the last of pictures 0..5
    EXPECT_EQ(active_explosions(), 0);
    advance_bombs();
    EXPECT_EQ(bombs[0].active, 0);
    // Centre, left, up, right, down, in slot order.
    const int want[5][2] = {{10, 10}, {9, 10}, {10, 9}, {11, 10}, {10, 11}};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(explosions[i].col, want[i][0]);
        EXPECT_EQ(explosions[i].row, want[i][1]);
        EXPECT_EQ(explosions[i].life, 16);
    }
    EXPECT_EQ(active_explosions(), 5);
}

TEST_F(Bombs, BigBlastAtTheCornerPlacesAll29CellsOnAndOffTheBoard)
{
    put_bomb(0, WEAPON_BIG_BOMB, 0, 0, 1);
    advance_bombs();
    std::set<std::pair<int, int>> want;
    for (int dc = -2; dc <= 2; dc++)
        for (int dr = -2; dr <= 2; dr++)
            want.insert({dc, dr});
    want.insert({-3, 0});
    want.insert({3, 0});
    want.insert({0, -3});
    want.insert({0, 3});
    EXPECT_EQ(active_explosions(), 29);
    EXPECT_EQ(explosion_cells(), want);
    EXPECT_EQ(explosions[28].col, 0);
    EXPECT_EQ(explosions[28].row, -3);
}

TEST_F(Bombs, BlastsIgnoreWalls)
{
    board[11][10] = 1;
    put_bomb(0, WEAPON_BOMB, 10, 10, 1);
    advance_bombs();
    EXPECT_EQ(explosions_on(11, 10), 1);
}

TEST_F(Bombs, OverlappingBlastsLeaveTwoRecordsOnSharedCells)
{
    put_bomb(0, WEAPON_BOMB, 10, 10, 1);
    put_bomb(1, WEAPON_BOMB, 11, 10, 1);
    advance_bombs();
    EXPECT_EQ(explosions_on(10, 10), 2);
    EXPECT_EQ(explosions_on(11, 10), 2);
    EXPECT_EQ(explosions_on(12, 10), 1);
}

TEST_F(Bombs, AFullExplosionPoolDropsTheRestOfABlast)
{
    for (int i = 0; i < EXPLOSION_POOL_SIZE - 2; i++)
        explosions[i] = explosion{1, 40, 30, 16, 0.0};
    plus_blast(5, 5);
    EXPECT_EQ(active_explosions(), EXPLOSION_POOL_SIZE);
    EXPECT_EQ(explosions_on(5, 5), 1);
    EXPECT_EQ(explosions_on(4, 5), 1);
    EXPECT_EQ(explosions_on(5, 4), 0);
}

TEST_F(Bombs, AnExplosionLivesSixteenAdvancesThroughPictures37To44)
{
    spawn_explosion(3, 4);
    for (int k = 1; k <= 15; k++) {
        advance_explosions();
        ASSERT_EQ(explosions[0].active, 1) << "advance " << k;
    }
    EXPECT_EQ(static_cast<int>(explosions[0].frame), 7);
    advance_explosions();
    EXPECT_EQ(explosions[0].active, 0);
}

TEST_F(Bombs, ChainReactionReachesHigherSlotsThisTickAndLowerSlotsTheNext)
{
    put_bomb(5, WEAPON_BIG_BOMB, 20, 10, 1);
    put_bomb(9, WEAPON_BOMB, 21, 10, 40);
    put_bomb(2, WEAPON_BOMB, 19, 10, 40);
    advance_bombs();
    EXPECT_EQ(bombs[5].active, 0);
    EXPECT_EQ(bombs[9].active, 0) << "a higher slot goes off in the same pass";
    EXPECT_EQ(bombs[2].active, 1) << "a lower slot was already advanced";
    EXPECT_EQ(explosions_on(22, 10), 2);   // big blast and slot 9's plus blast
    advance_explosions();
    advance_bombs();
    EXPECT_EQ(bombs[2].active, 0);
}

TEST_F(Bombs, MissileStartsOneCellAheadInTheFacing)
{
    const int want[4][2] = {{10, 9}, {11, 10}, {10, 11}, {9, 10}};   // up, right, down, left
    for (int f = FACING_UP; f <= FACING_LEFT; f++) {
        clear_bombs();
        bomb &m = fire_missile(10, 10, f);
        EXPECT_EQ(m.col, want[f][0]);
        EXPECT_EQ(m.row, want[f][1]);
        EXPECT_EQ(m.fuse, 20);
        EXPECT_EQ(players[0].fire_delay, 6);
    }
}

TEST_F(Bombs, UnstoppedMissileGoesOffOnItsTwentiethAdvanceCentredTwentyCellsOut)
{
    bomb &m = fire_missile(5, 10, FACING_RIGHT);
    advance_bombs();
    EXPECT_EQ(m.col, 7);                   // p + 2d after the first advance
    for (int k = 2; k < 20; k++)
        advance_bombs();
    EXPECT_EQ(m.active, 1);
    advance_bombs();
    EXPECT_EQ(m.active, 0);
    EXPECT_EQ(explosions[0].col, 25);
    EXPECT_EQ(explosions[0].row, 10);
    EXPECT_EQ(active_explosions(), 5) << "a missile makes a plus blast, not a big one";
}

TEST_F(Bombs, BigBombStepsThroughSixPicturesInItsHundredAdvances)
{
    spawn_bomb(20, 20, WEAPON_BIG_BOMB, 0);
    // 0.06 a tick: the picture after k advances is 6 + (0.06k truncated).
    for (int k = 1; k <= 99; k++) {
        advance_bombs();
        int want = k == 16 ? 0 : k == 17 ? 1 : k == 99 ? 5 : -1;
        if (want >= 0) {
            EXPECT_EQ(static_cast<int>(bombs[0].frame), want) << "after " << k;
        }
    }
    EXPECT_EQ(bombs[0].active, 1);
    advance_bombs();
    EXPECT_EQ(bombs[0].active, 0);
    EXPECT_EQ(active_explosions(), 29);
}

TEST_F(Bombs, MissileFliesThroughAWallItStartsOn)
{
    board[11][10] = 1;
    bomb &m = fire_missile(10, 10, FACING_RIGHT);
    advance_bombs();
    EXPECT_EQ(m.active, 1);
    EXPECT_EQ(m.col, 12);
}

TEST_F(Bombs, MissileBlockedRightAfterAWallStartGoesOffOnTheWallCell)
{
    board[11][10] = 1;
    board[12][10] = 7;
    fire_missile(10, 10, FACING_RIGHT);
    advance_bombs();
    EXPECT_EQ(bombs[0].active, 0);
    EXPECT_EQ(explosions[0].col, 11);
}

TEST_F(Bombs, MissileEnteringAPlayersCellGoesOffOneCellBefore)
{
    place(1, 14, 10);
    fire_missile(10, 10, FACING_RIGHT);
    advance_bombs();                       // 12
    EXPECT_EQ(bombs[0].active, 1);
    advance_bombs();                       // 13
    advance_bombs();                       // 14: player 2
    EXPECT_EQ(bombs[0].active, 0);
    EXPECT_EQ(explosions[0].col, 13);
}

TEST_F(Bombs, MissileHitsItsOwnFirerToo)
{
    fire_missile(10, 10, FACING_RIGHT);
    place(0, 12, 10);
    advance_bombs();
    EXPECT_EQ(bombs[0].active, 0);
    EXPECT_EQ(explosions[0].col, 11);
    EXPECT_EQ(explosions[0].row, 10);
}

TEST_F(Bombs, MissileOnAnExplosionGoesOffCentredOnTheCellItLeft)
{
    bomb &m = fire_missile(10, 10, FACING_DOWN);   // at (10, 11)
    spawn_explosion(10, 11);
    advance_bombs();
    EXPECT_EQ(m.active, 0);
    EXPECT_EQ(explosions[1].col, 10);
    EXPECT_EQ(explosions[1].row, 11);
}

TEST_F(Bombs, MissileFiredOffTheBoardGoesOffOnItsStartCell)
{
    place(0, 52, 5);
    bomb &m = fire_missile(52, 5, FACING_RIGHT);
    EXPECT_EQ(m.col, 53);
    advance_bombs();
    EXPECT_EQ(m.active, 0);
    EXPECT_EQ(explosions[0].col, 53);
    EXPECT_EQ(explosions_on(54, 5), 1);     // not clipped to the board
}

TEST_F(Bombs, CellBlockedReadsOnlyTheBoard)
{
    EXPECT_EQ(cell_blocked(-1, 0), -1);
    EXPECT_EQ(cell_blocked(53, 0), -1);
    EXPECT_EQ(cell_blocked(0, 34), -1);
    EXPECT_EQ(cell_blocked(0, -1), -1);
    EXPECT_EQ(cell_blocked(52, 33), 0);
    board[3][3] = ANIMATED_TILE;
    EXPECT_EQ(cell_blocked(3, 3), 0);
    for (int wall : {1, 3, 5, 7, 9, 12, 17, 20}) {
        board[4][4] = wall;
        EXPECT_EQ(cell_blocked(4, 4), -1) << "tile " << wall;
    }
    for (int floor : {2, 18, 29, 30, 99, -1}) {
        board[4][4] = floor;
        EXPECT_EQ(cell_blocked(4, 4), 0) << "tile " << floor;
    }
}
