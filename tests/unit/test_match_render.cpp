// The match picture: board, players, weapons, frame lines and status panel.
#include <cstring>

#include "match_fixture.h"

namespace {

class MatchRender : public MatchTest {
protected:
    // True when the 12 x 12 area at (x, y) of the screen shows picture pic;
    // a masked picture only has to match where it is not magenta.
    static bool shows(BITMAP *pic, int x, int y, bool masked = false)
    {
        const int magenta = makecol(255, 0, 255);
        for (int py = 0; py < 12; py++) {
            for (int px = 0; px < 12; px++) {
                int want = getpixel(pic, px, py);
                if (masked && want == magenta)
                    continue;
                if (getpixel(screen, x + px, y + py) != want)
                    return false;
            }
        }
        return true;
    }

    static int bar_pixel(int x, int y = BAR_TOP) { return getpixel(screen, x, y); }
};

}  // namespace

TEST_F(MatchRender, TilesDrawTheirPictureAndAnythingElseDrawsTileZero)
{
    board[4][5] = 17;
    board[6][5] = 99;
    board[7][5] = -4;
    render_match_frame();
    EXPECT_TRUE(shows(level_bitmap(17), cell_x(4), cell_y(5)));
    EXPECT_TRUE(shows(level_bitmap(0), cell_x(6), cell_y(5)));
    EXPECT_TRUE(shows(level_bitmap(0), cell_x(7), cell_y(5)));
}

TEST_F(MatchRender, TheAnimatedTileFollowsTheAnimationClock)
{
    board[10][10] = ANIMATED_TILE;
    for (float clock : {0.0f, 3.75f, 7.5f}) {
        anim_clock = clock;
        render_match_frame();
        EXPECT_TRUE(shows(level_bitmap(OBJ_ANIM_TILE_FIRST + static_cast<int>(clock)),
                          cell_x(10), cell_y(10))) << "clock " << clock;
    }
}

TEST_F(MatchRender, PlayersShowTheirWalkFrameAndAWreckWhenOut)
{
    place(0, 10, 10);
    place(1, 20, 10);
    players[0].facing = FACING_UP;     // unturned
    players[0].frame = 3.5;
    players[1].energy = 0;
    render_match_frame();
    EXPECT_TRUE(shows(game_bitmap(OBJ_P1_WALK_FIRST + 3), cell_x(10), cell_y(10), true));
    EXPECT_TRUE(shows(game_bitmap(OBJ_WRECK), cell_x(20), cell_y(10), true));
}

TEST_F(MatchRender, FrameLinesLeaveColumn638AsTheBufferHeldIt)
{
    clear_to_color(back_buffer, makecol(0, 0, 200));
    render_match_frame();
    for (int y : {0, 1, 409})
        EXPECT_EQ(getpixel(screen, 320, y), 0) << "y " << y;
    for (int x : {0, 1, 639})
        EXPECT_EQ(getpixel(screen, x, 200), 0) << "x " << x;
    EXPECT_EQ(getpixel(screen, 638, 200), makecol(0, 0, 200));
    EXPECT_EQ(getpixel(screen, 320, 408), getpixel(level_bitmap(0), 6, 10));   // row 33 keeps all but its last line
}

TEST_F(MatchRender, ExplosionsCoverBombsAndOffBoardOnesAreClipped)
{
    bombs[0] = bomb{1, WEAPON_BOMB, 5, 5, 0, 0, 10, 0, 0.0};
    spawn_explosion(5, 5);
    spawn_explosion(53, 5);            // shows one pixel wide at x 638
    spawn_explosion(-3, -3);
    spawn_explosion(60, 40);
    render_match_frame();
    EXPECT_TRUE(shows(game_bitmap(OBJ_EXPLOSION_FIRST), cell_x(5), cell_y(5)));
    EXPECT_EQ(getpixel(screen, 638, cell_y(5) + 3), getpixel(game_bitmap(OBJ_EXPLOSION_FIRST), 0, 3));
}

TEST_F(MatchRender, BombPicturesFollowTheirFrameAndMissilesTheClock)
{
    bombs[0] = bomb{1, WEAPON_BOMB, 5, 5, 0, 0, 10, 0, 2.4};
    bombs[1] = bomb{1, WEAPON_BIG_BOMB, 7, 5, 0, 0, 10, 0, 5.94};
    bombs[2] = bomb{1, WEAPON_MISSILE, 9, 5, 1, 0, 10, 0, 0.0};
    anim_clock = 6.25f;
    render_match_frame();
    EXPECT_TRUE(shows(game_bitmap(OBJ_BOMB_FIRST + 2), cell_x(5), cell_y(5), true));
    EXPECT_TRUE(shows(game_bitmap(OBJ_BIG_BOMB_FIRST + 5), cell_x(7), cell_y(5), true));
    EXPECT_TRUE(shows(game_bitmap(OBJ_MISSILE_FIRST + 6), cell_x(9), cell_y(5), true));
}

TEST_F(MatchRender, TheIconShowsEachPlayersWeapon)
{
    const int icons[3] = {OBJ_ICON_BOMB, OBJ_ICON_MISSILE, OBJ_ICON_BIG_BOMB};
    for (int w = WEAPON_BOMB; w <= WEAPON_BIG_BOMB; w++) {
        players[0].weapon = w;
        players[1].weapon = (w + 1) % 3;
        render_match_frame();
        EXPECT_TRUE(shows(game_bitmap(icons[w]), P1_ICON_X, ICON_Y, true)) << "weapon " << w;
        EXPECT_TRUE(shows(game_bitmap(icons[(w + 1) % 3]), P2_ICON_X, ICON_Y, true)) << "weapon " << w;
    }
}

TEST_F(MatchRender, EnergyBarsHaveOneColumnPerPointInTheirBand)
{
    render_match_frame();
    // 130 columns from x 9 and x 501, y 462..471, each in its player's band,
    // never getting brighter to the right.
    auto entry = [](int colour, int first, int last) {
        for (int k = first; k <= last; k++)
            if (energy_colors[k] == colour)
                return k;
        return -1;
    };
    int last1 = 0, last2 = 51;
    for (int n = 0; n < 130; n++) {
        int k1 = entry(bar_pixel(9 + n), 0, 50), k2 = entry(bar_pixel(501 + n), 51, 101);
        ASSERT_GE(k1, last1) << "n " << n;
        ASSERT_GE(k2, last2) << "n " << n;
        ASSERT_EQ(bar_pixel(9 + n, 471), bar_pixel(9 + n)) << "n " << n;
        last1 = k1;
        last2 = k2;
    }
    EXPECT_EQ(bar_pixel(9), energy_colors[0]);
    EXPECT_EQ(bar_pixel(501), energy_colors[51]);
    // Truncation of n / 2.6 lands one lower at multiples of 13.
    EXPECT_EQ(bar_pixel(P1_BAR_X + 12), energy_colors[4]);
    EXPECT_EQ(bar_pixel(P1_BAR_X + 13), energy_colors[4]);
    EXPECT_EQ(bar_pixel(P1_BAR_X + 14), energy_colors[5]);
    EXPECT_EQ(bar_pixel(P1_BAR_X + 129), energy_colors[49]);
    EXPECT_EQ(bar_pixel(P2_BAR_X + 129), energy_colors[100]);
    EXPECT_EQ(bar_pixel(P1_BAR_X + 130), getpixel(game_bitmap(OBJ_STATUS_PANEL), P1_BAR_X + 130, BAR_TOP - PANEL_TOP));
    EXPECT_EQ(bar_pixel(P1_BAR_X, BAR_TOP - 1), getpixel(game_bitmap(OBJ_STATUS_PANEL), P1_BAR_X, BAR_TOP - 1 - PANEL_TOP));
}

TEST_F(MatchRender, AtEnergyOneABarOfOneColumnAndNoneWhenOut)
{
    players[0].energy = 1;
    players[1].energy = -7;
    render_match_frame();
    BITMAP *panel = game_bitmap(OBJ_STATUS_PANEL);
    EXPECT_EQ(bar_pixel(P1_BAR_X), energy_colors[0]);
    EXPECT_EQ(bar_pixel(P1_BAR_X + 1), getpixel(panel, P1_BAR_X + 1, BAR_TOP - PANEL_TOP));
    EXPECT_EQ(bar_pixel(P2_BAR_X), getpixel(panel, P2_BAR_X, BAR_TOP - PANEL_TOP));
}

TEST_F(MatchRender, DrawingChangesNoGameState)
{
    spawn_bomb(3, 3, WEAPON_MISSILE, 0);
    spawn_explosion(4, 4);
    players[0].frame = 2.5;
    static bomb bombs_before[BOMB_POOL_SIZE];
    static explosion explosions_before[EXPLOSION_POOL_SIZE];
    player players_before[2];
    std::memcpy(bombs_before, bombs, sizeof bombs);
    std::memcpy(explosions_before, explosions, sizeof explosions);
    std::memcpy(players_before, players, sizeof players);
    render_match_frame();
    EXPECT_EQ(std::memcmp(bombs_before, bombs, sizeof bombs), 0);
    EXPECT_EQ(std::memcmp(explosions_before, explosions, sizeof explosions), 0);
    EXPECT_EQ(std::memcmp(players_before, players, sizeof players), 0);
    EXPECT_FLOAT_EQ(anim_clock, 0.0f);
}

// The players' pictures: each its own walk frames, turned clockwise to the
// facing, built on a see-through sprite, under the weapons on its cell.
TEST_F(MatchRender, EachPlayerHasItsOwnWalkFrames)
{
    place(0, 10, 10);
    place(1, 20, 10);
    for (player &p : players) {
        p.facing = FACING_UP;
        p.frame = 2.0;
    }
    render_match_frame();
    EXPECT_TRUE(shows(game_bitmap(21 + 2), cell_x(10), cell_y(10), true));
    EXPECT_TRUE(shows(game_bitmap(29 + 2), cell_x(20), cell_y(10), true));
    EXPECT_FALSE(shows(game_bitmap(21 + 2), cell_x(20), cell_y(10), true));
}

TEST_F(MatchRender, FacingsTurnTheWalkFrameClockwise)
{
    // A quarter turn clockwise takes the picture's pixel (x, y) to (11 - y, x).
    BITMAP *walk = game_bitmap(21);
    const int magenta = makecol(255, 0, 255);
    struct turn { int facing; int quarters; };
    for (turn t : {turn{FACING_RIGHT, 1}, turn{FACING_DOWN, 2}, turn{FACING_LEFT, 3}}) {
        players[0].facing = t.facing;
        players[0].frame = 0.0;
        render_match_frame();
        int same = 0, drawn = 0;
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++) {
                int c = getpixel(walk, x, y);
                if (c == magenta)
                    continue;
                int tx = x, ty = y;
                for (int q = 0; q < t.quarters; q++) {
                    int nx = 11 - ty;
                    ty = tx;
                    tx = nx;
                }
                drawn++;
                same += getpixel(player_sprites[0], tx, ty) == c;
            }
        // Allow for the rotation's rounding at the edges of the shape.
        EXPECT_GT(same * 10, drawn * 9) << "facing " << t.facing;
    }
}

TEST_F(MatchRender, SpritesAreClearedToMagentaEveryFrame)
{
    const int magenta = makecol(255, 0, 255);
    for (int i = 0; i < 2; i++) {
        players[i].facing = FACING_UP;
        clear_to_color(player_sprites[i], makecol(0, 0, 200));
    }
    render_match_frame();
    const int firsts[2] = {21, 29};
    for (int i = 0; i < 2; i++)
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 12; x++)
                if (getpixel(game_bitmap(firsts[i]), x, y) == magenta) {
                    ASSERT_EQ(getpixel(player_sprites[i], x, y), magenta)
                        << "player " << i + 1 << " at " << x << "," << y;
                }
}

TEST_F(MatchRender, WeaponsAreDrawnOverThePlayerOnTheirCell)
{
    place(0, 10, 10);
    players[0].facing = FACING_UP;
    bombs[0] = bomb{1, WEAPON_BOMB, 10, 10, 0, 0, 10, 0, 0.0};
    bombs[1] = bomb{1, WEAPON_MISSILE, 20, 20, 1, 0, 10, 0, 0.0};
    place(1, 20, 20);
    render_match_frame();
    EXPECT_TRUE(shows(game_bitmap(0), cell_x(10), cell_y(10), true));
    EXPECT_TRUE(shows(game_bitmap(12), cell_x(20), cell_y(20), true));
}

TEST_F(MatchRender, NamesAreCentredUnderTheirIconsInTheirPlayersColours)
{
    copy_name(profiles[0].name, "WWWWWWWWWWW");
    copy_name(profiles[1].name, "MMMMMMMMMMM");
    render_match_frame();
    // Eleven 8-pixel letters centred on x 93 and x 585 from y 445.
    auto count = [](int centre, int colour) {
        int n = 0;
        for (int y = 445; y < 453; y++)
            for (int x = centre - 44; x < centre + 44; x++)
                n += getpixel(screen, x, y) == colour;
        return n;
    };
    const int red = makecol(250, 0, 0), green = makecol(0, 250, 0);
    EXPECT_GT(count(93, red), 40);
    EXPECT_EQ(count(93, green), 0);
    EXPECT_GT(count(585, green), 40);
    EXPECT_EQ(count(585, red), 0);
}

TEST_F(MatchRender, AComputerSideIsMarkedOverItsNameAndAPersonIsNot)
{
    auto marked = [](int name_x) {
        int n = 0;
        for (int y = COMPUTER_MARK_Y; y < COMPUTER_MARK_Y + 8; y++)
            for (int x = name_x - 50; x <= name_x + COMPUTER_MARK_RIGHT; x++)
                n += getpixel(screen, x, y) == COMPUTER_MARK_COLOR;
        return n;
    };
    match_kinds[0] = 0;
    match_kinds[1] = 3;
    render_match_frame();
    EXPECT_EQ(marked(P1_NAME_X), 0);
    const int hard = marked(P2_NAME_X);
    EXPECT_GT(hard, 40);
    match_kinds[1] = 2;   // "CPU NORMAL" is two letters longer
    render_match_frame();
    EXPECT_GT(marked(P2_NAME_X), hard);
    match_kinds[1] = 0;
}

TEST(EnergyColors, RedAndGreenBands)
{
    build_energy_colors();
    EXPECT_EQ(energy_colors[0], makecol(255, 0, 0));
    EXPECT_EQ(energy_colors[50], makecol(5, 0, 0));
    EXPECT_EQ(energy_colors[51], makecol(0, 255, 0));
    EXPECT_EQ(energy_colors[101], makecol(0, 5, 0));
}
