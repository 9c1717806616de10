// A match's result, the score kept across matches, the rematch and the
// pause: what the tick decides and what the loop does around it.
#include "match_fixture.h"
#include "replay.h"
#include "scratch_dir.h"

namespace {

class Result : public MatchTest {
protected:
    void SetUp() override
    {
        MatchTest::SetUp();
        match_wins[0] = match_wins[1] = 0;
        match_paused = false;
        focus_was_lost();
    }

    // Puts a player out at the end of the next tick.
    static void put_out(int p)
    {
        players[p].energy = 1;
        spawn_explosion(players[p].col, players[p].row);
    }

    static int result_sounds()
    {
        return live_match.sounds.effects[SOUND_RESULT].count;
    }

    // One pass of the loop with these keys pressed as it starts, as the
    // keyboard would bring them, and one tick owed.
    static int pass_with(std::initializer_list<int> keys, int owed = 1)
    {
        for (int k : keys)
            input_event(k, true);
        pending_ticks = owed;
        int ran = match_loop_pass();
        for (int k : keys)
            input_event(k, false);
        return ran;
    }
};

}  // namespace

// ---- the result -----------------------------------------------------------------

TEST_F(Result, APlayerOutLosesOnceTheOtherHasOutlastedItBySecond)
{
    put_out(0);
    ticks_with(1, 0, 0);
    EXPECT_EQ(players[0].out_tick, 0);
    EXPECT_EQ(live_match.result, RESULT_NONE) << "the other may still go out too";
    ticks_with(DRAW_WINDOW_TICKS - 1, 0, 0);
    EXPECT_EQ(live_match.result, RESULT_NONE);
    ticks_with(1, 0, 0);
    EXPECT_EQ(live_match.result, RESULT_P2_WINS);
    EXPECT_EQ(live_match.result_tick, DRAW_WINDOW_TICKS);
    EXPECT_EQ(result_sounds(), 1) << "heard when decided";
    ticks_with(1, 0, 0);
    EXPECT_EQ(result_sounds(), 0) << "and only then";
}

TEST_F(Result, BothOutWithinASecondOfEachOtherIsADraw)
{
    for (int apart : {0, 17, DRAW_WINDOW_TICKS}) {
        start_match();
        put_out(1);
        if (apart == 0)
            put_out(0);
        ticks_with(1, 0, 0);
        if (apart > 0) {
            ticks_with(apart - 1, 0, 0);
            put_out(0);
            ticks_with(1, 0, 0);
        }
        EXPECT_EQ(live_match.result, RESULT_DRAW) << apart << " ticks apart";
        EXPECT_EQ(players[0].out_tick - players[1].out_tick, apart);
    }
}

TEST_F(Result, TheSecondOutLaterKeepsTheFirstResult)
{
    put_out(1);
    ticks_with(DRAW_WINDOW_TICKS + 1, 0, 0);
    ASSERT_EQ(live_match.result, RESULT_P1_WINS);
    put_out(0);
    ticks_with(100, 0, 0);
    EXPECT_EQ(live_match.result, RESULT_P1_WINS);
    EXPECT_EQ(live_match.result_tick, DRAW_WINDOW_TICKS);
}

// ---- the score and the rematch ------------------------------------------------------

TEST_F(Result, TheScoreCountsWinsAcrossMatchesAndADrawForNobody)
{
    scratch_dir dir;   // each finished match is kept as a replay here
    put_out(0);
    pass_with({}, DRAW_WINDOW_TICKS + 1);
    EXPECT_EQ(match_wins[0], 0);
    EXPECT_EQ(match_wins[1], 1);
    pass_with({}, 50);
    EXPECT_EQ(match_wins[1], 1) << "a result counts once";

    pass_with({KEY_ENTER});   // the rematch
    put_out(0);
    put_out(1);
    pass_with({}, 3);
    EXPECT_EQ(live_match.result, RESULT_DRAW);
    pass_with({KEY_ENTER});
    put_out(1);
    pass_with({}, DRAW_WINDOW_TICKS + 1);
    EXPECT_EQ(match_wins[0], 1);
    EXPECT_EQ(match_wins[1], 1);
}

TEST_F(Result, EnterAfterAResultStartsAFreshMatchOnTheSameBoardAndKeepsTheLast)
{
    scratch_dir dir;
    ::board[30][20] = 12;
    start_match();
    pass_with({KEY_ENTER}, 5);
    EXPECT_EQ(live_match.tick, 5) << "before a result Enter does nothing";

    place(0, 10, 10);
    players[1].weapon = WEAPON_MISSILE;
    put_out(1);
    pass_with({}, DRAW_WINDOW_TICKS + 1);
    ASSERT_EQ(live_match.result, RESULT_P1_WINS);
    const int32_t ticks_played = live_match.tick;

    pass_with({KEY_ENTER});
    EXPECT_EQ(live_match.tick, 0);
    EXPECT_EQ(live_match.result, RESULT_NONE);
    EXPECT_EQ(board[30][20], 12) << "the same arena";
    for (int p = 0; p < 2; p++) {
        EXPECT_EQ(players[p].energy, START_ENERGY);
        EXPECT_EQ(players[p].weapon, WEAPON_BOMB);
        EXPECT_EQ(players[p].out_tick, -1);
    }
    EXPECT_EQ(players[0].x, cell_x(P1_START_COL));
    EXPECT_EQ(players[1].y, cell_y(P2_START_ROW));
    EXPECT_EQ(match_wins[0], 1);

    // The match that ended is the last replay, with its result.
    std::vector<unsigned char> bytes = read_bytes("replays/last.replay");
    replay_view view;
    ASSERT_EQ(read_replay(bytes.data(), bytes.size(), view), nullptr);
    EXPECT_EQ(view.ticks, ticks_played);
    EXPECT_EQ(view.result, RESULT_P1_WINS);
}

// ---- the pause ---------------------------------------------------------------------

TEST_F(Result, APauseRunsNoTickAndOwesNoneAfterwards)
{
    spawn_bomb(20, 20, WEAPON_BOMB, 0);
    EXPECT_EQ(pass_with({}, 1), 1);
    const int fuse = bombs[0].fuse;

    EXPECT_EQ(pass_with({KEY_P}, 1), 0);
    ASSERT_TRUE(match_paused);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(pass_with({}, 80), 0);   // two seconds pass, paused
    EXPECT_EQ(bombs[0].fuse, fuse);

    pass_with({KEY_P}, 80);
    EXPECT_FALSE(match_paused);
    EXPECT_EQ(pending_ticks.load(), 0) << "no burst for the time paused";
    EXPECT_EQ(pass_with({}, 1), 1);
    EXPECT_EQ(bombs[0].fuse, fuse - 1);
}

TEST_F(Result, PausePausesAlwaysAndPOnlyWhileNoPlayerHasItBound)
{
    // A tap of Pause reaches the game as one event, down and up by turns.
    input_event(KEY_PAUSE, true);
    pass_with({});
    EXPECT_TRUE(match_paused);
    input_event(KEY_PAUSE, false);
    pass_with({});
    EXPECT_FALSE(match_paused);
    input_event(KEY_PAUSE, true);
    pass_with({});
    EXPECT_TRUE(match_paused) << "the third tap pauses again";
    input_event(KEY_PAUSE, false);
    pass_with({});

    profiles[1].keys[KEY_SLOT_FIRE] = KEY_P;
    pass_with({KEY_P});
    EXPECT_FALSE(match_paused) << "P fires for player 2";
    EXPECT_EQ(active_bombs(), 1);
}

TEST_F(Result, LosingTheFocusPausesAndEscStillEndsAPausedMatch)
{
    note_focus_lost();
    pass_with({});
    EXPECT_TRUE(match_paused);
    EXPECT_TRUE(match_running());
    pass_with({KEY_ESC}, 0);
    EXPECT_FALSE(match_running());
}

// ---- the panel -----------------------------------------------------------------------

TEST_F(Result, ThePanelsCentreNamesTheWinnerInItsColourAndShowsTheScore)
{
    auto centre_pixels_of = [](int colour) {
        int n = 0;
        for (int y = PANEL_TITLE_Y1; y <= PANEL_TITLE_Y2; y++)
            for (int x = PANEL_CENTRE_X1; x <= PANEL_CENTRE_X2; x++)
                n += getpixel(back_buffer, x, y) == colour;
        return n;
    };
    auto hint_row = [] {
        std::vector<int> row;
        for (int y = PANEL_HINT_Y1; y <= PANEL_HINT_Y2; y++)
            for (int x = PANEL_CENTRE_X1; x <= PANEL_CENTRE_X2; x++)
                row.push_back(getpixel(back_buffer, x, y));
        return row;
    };
    copy_name(profiles[1].name, "bob     ");
    render_match_frame();
    EXPECT_EQ(centre_pixels_of(P2_NAME_COLOR), 0);
    const std::vector<int> no_score = hint_row();

    live_match.result = RESULT_P2_WINS;
    match_wins[1] = 1;
    render_match_frame();
    // "BOB WINS", 8 letters of the doubled font: far more than a stray pixel.
    EXPECT_GT(centre_pixels_of(P2_NAME_COLOR), 200);
    EXPECT_EQ(centre_pixels_of(P1_NAME_COLOR), 0);
    EXPECT_NE(hint_row(), no_score);
}

TEST_F(Result, AHurtPlayerFlashesLighterEvenUnderABlast)
{
    place(0, 20, 20);
    auto brightness = [] {
        long sum = 0;
        for (int y = 0; y < CELL_SIZE; y++)
            for (int x = 0; x < CELL_SIZE; x++) {
                rgb c = pixel_rgb(back_buffer, cell_x(20) + x, cell_y(20) + y);
                sum += c.r + c.g + c.b;
            }
        return sum;
    };
    auto cell = [] {
        std::vector<int> pixels;
        for (int y = 0; y < CELL_SIZE; y++)
            for (int x = 0; x < CELL_SIZE; x++)
                pixels.push_back(getpixel(back_buffer, cell_x(20) + x, cell_y(20) + y));
        return pixels;
    };
    live_match.tick = 0;
    render_match_frame();
    const long unhurt = brightness();
    players[0].damage = 1;
    render_match_frame();
    EXPECT_GT(brightness(), unhurt + 1000) << "lighter while losing energy";

    spawn_explosion(20, 20);
    players[0].damage = 0;
    render_match_frame();
    const std::vector<int> blast_only = cell();
    players[0].damage = 1;
    render_match_frame();
    EXPECT_NE(cell(), blast_only) << "the flash shows over the blast";
    live_match.tick = 2;   // the other half of the flash
    render_match_frame();
    EXPECT_EQ(cell(), blast_only);
}
