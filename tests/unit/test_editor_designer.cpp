// The editor's tools for arena designers: mirror painting with M, strokes
// that leave no gaps however fast the pointer moves, test-play with T, and
// the warning when the two start cells are not joined.
#include <cstring>

#include "editor_fixture.h"
#include "scratch_dir.h"

namespace {

class Designer : public EditorTest {};

// A ring of tile 5 around the cell block [c0..c1] x [r0..r1].
void ring(int c0, int r0, int c1, int r1)
{
    for (int c = c0 - 1; c <= c1 + 1; c++)
        board[c][r0 - 1] = board[c][r1 + 1] = 5;
    for (int r = r0 - 1; r <= r1 + 1; r++)
        board[c0 - 1][r] = board[c1 + 1][r] = 5;
}

}  // namespace

// ---- mirror painting -----------------------------------------------------

TEST_F(Designer, MirrorIsPointSymmetricAboutTheBoardCentre)
{
    EXPECT_EQ(mirror_col(10), 42);
    EXPECT_EQ(mirror_row(10), 23);
    EXPECT_EQ(mirror_col(0), 52);
    EXPECT_EQ(mirror_row(0), 33);
    EXPECT_EQ(mirror_col(26), 26);   // the middle column maps onto itself
}

TEST_F(Designer, MTogglesMirrorOncePerPressAndThePenPaintsBothCells)
{
    press(KEY_M);
    ASSERT_EQ(mirror_mode, 1);
    frame_at(cx(10), cy(10), 1);
    frame_at(cx(10), cy(10), 0);
    EXPECT_EQ(board[10][10], 1);
    EXPECT_EQ(board[42][23], 1);
    EXPECT_EQ(count_cells(1), 2);

    // Held over several frames, M is still one press.
    key[KEY_M] = 1;
    editor_frame();
    editor_frame();
    editor_frame();
    key[KEY_M] = 0;
    EXPECT_EQ(mirror_mode, 0);
    frame_at(cx(3), cy(4), 1);
    frame_at(cx(3), cy(4), 0);
    EXPECT_EQ(board[mirror_col(3)][mirror_row(4)], 0) << "mirror off paints one cell";
}

TEST_F(Designer, MirrorNeverPaintsTheStartCells)
{
    mirror_mode = 1;
    paint_cell(0, 0, 7);
    paint_cell(52, 33, 7);
    EXPECT_EQ(board[0][0], 0);
    EXPECT_EQ(board[52][33], 0);
    paint_cell(1, 0, 7);
    EXPECT_EQ(board[51][33], 7);
}

TEST_F(Designer, MirroredFillRecoloursTheMirrorRegionAsItWasBefore)
{
    // Two separate rooms, one at each end of the board.
    ring(5, 5, 8, 8);
    ring(mirror_col(8), mirror_row(8), mirror_col(5), mirror_row(5));
    mirror_mode = 1;
    fill_region(6, 6, 3);
    for (int c = 5; c <= 8; c++)
        for (int r = 5; r <= 8; r++) {
            EXPECT_EQ(board[c][r], 3);
            EXPECT_EQ(board[mirror_col(c)][mirror_row(r)], 3);
        }
    EXPECT_EQ(count_cells(3), 32);
}

TEST_F(Designer, MirroredFillOfARegionThatHoldsItsOwnMirrorAndTheCentre)
{
    // A band across the middle holds the centre and is its own mirror.
    for (int c = 0; c < LEVEL_COLUMNS; c++) {
        board[c][15] = 5;
        board[c][18] = 5;
    }
    mirror_mode = 1;
    fill_region(26, 16, 2);
    EXPECT_EQ(count_cells(2), 2 * LEVEL_COLUMNS);
    EXPECT_EQ(board[26][16], 2);
    EXPECT_EQ(board[26][17], 2);
    EXPECT_EQ(board[0][15], 5);
}

TEST_F(Designer, MirrorOffFillIsThePlainFloodFill)
{
    ring(5, 5, 8, 8);
    ring(mirror_col(8), mirror_row(8), mirror_col(5), mirror_row(5));
    fill_region(6, 6, 3);
    EXPECT_EQ(count_cells(3), 16);
}

// ---- strokes ---------------------------------------------------------------

TEST_F(Designer, StrokeLinesHaveNoGapsAndHitBothEnds)
{
    paint_stroke(5, 20, 30, 20, 2);
    for (int c = 5; c <= 30; c++)
        EXPECT_EQ(board[c][20], 2) << c;
    EXPECT_EQ(count_cells(2), 26);

    clear_board(0);
    paint_stroke(20, 30, 10, 2, 3);   // steep, backwards
    EXPECT_EQ(board[20][30], 3);
    EXPECT_EQ(board[10][2], 3);
    // One cell per row on a line steeper than 45 degrees, each touching the
    // last one (eight-connected).
    EXPECT_EQ(count_cells(3), 29);
    for (int r = 2; r <= 30; r++) {
        int on_row = 0;
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            on_row += board[c][r] == 3;
        EXPECT_EQ(on_row, 1) << "row " << r;
    }
    for (int r = 3; r <= 30; r++) {
        bool touches = false;
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            if (board[c][r] == 3)
                for (int d = -1; d <= 1; d++)
                    touches |= c + d >= 0 && c + d < LEVEL_COLUMNS && board[c + d][r - 1] == 3;
        EXPECT_TRUE(touches) << "gap above row " << r;
    }
}

TEST_F(Designer, AFastDragPaintsEveryCellBetweenTwoFrames)
{
    frame_at(cx(5), cy(20), 1);
    frame_at(cx(30), cy(20), 1);
    frame_at(cx(30), cy(20), 0);
    for (int c = 5; c <= 30; c++)
        EXPECT_EQ(board[c][20], 1) << c;
    EXPECT_EQ(count_cells(1), 26);
}

TEST_F(Designer, AStrokeStartsAfreshAfterTheButtonIsLetGo)
{
    frame_at(cx(5), cy(20), 1);
    frame_at(cx(5), cy(20), 0);
    frame_at(cx(30), cy(20), 1);
    EXPECT_EQ(count_cells(1), 2) << "two clicks are two cells, not a line";
}

TEST_F(Designer, TheRightButtonStrokesWithItsOwnTileAndMirrorFollows)
{
    clear_board(6);
    mirror_mode = 1;
    frame_at(cx(5), cy(10), 2);
    frame_at(cx(9), cy(10), 2);
    for (int c = 5; c <= 9; c++) {
        EXPECT_EQ(board[c][10], 0);
        EXPECT_EQ(board[mirror_col(c)][mirror_row(10)], 0);
    }
}

TEST_F(Designer, FillModeDoesNotStroke)
{
    ring(5, 5, 8, 8);
    fill_mode = FILL_MODE;
    left_tile = 3;
    frame_at(cx(6), cy(6), 1);
    frame_at(cx(30), cy(30), 1);   // a second fill of the big floor region
    EXPECT_EQ(count_cells(3), 16 + (LEVEL_CELLS - 36)) << "the room, then all the floor outside the ring";
    EXPECT_EQ(board[20][6], 3);
}

TEST_F(Designer, LeavingTheBoardEndsTheStroke)
{
    frame_at(cx(5), cy(30), 1);
    frame_at(300, 460, 1);   // over the panel
    frame_at(cx(40), cy(30), 1);
    EXPECT_EQ(count_cells(1), 2);
}

// ---- test-play -------------------------------------------------------------

namespace {
int32_t board_in_match[LEVEL_COLUMNS][LEVEL_ROWS];
int matches_played;
void fake_match()
{
    std::memcpy(board_in_match, board, sizeof board);
    matches_played++;
    // Whatever the match does to the board is not the editor's.
    clear_board(9);
    key[KEY_ESC] = 1;   // the key that ended it is still down on return
}
}  // namespace

TEST_F(Designer, TPlaysTheBoardAsItIsAndGivesEverythingBack)
{
    matches_played = 0;
    play_test_match = fake_match;
    board[10][10] = 3;
    board[42][23] = 7;
    fill_mode = FILL_MODE;
    left_tile = 12;
    right_tile = 4;
    mirror_mode = 1;
    int32_t before[LEVEL_COLUMNS][LEVEL_ROWS];
    std::memcpy(before, board, sizeof board);

    press(KEY_T);
    EXPECT_EQ(matches_played, 1);
    EXPECT_EQ(std::memcmp(board_in_match, before, sizeof board), 0) << "the match plays the editor's board";
    EXPECT_EQ(std::memcmp(board, before, sizeof board), 0) << "the editor gets its board back";
    EXPECT_EQ(fill_mode, FILL_MODE);
    EXPECT_EQ(left_tile, 12);
    EXPECT_EQ(right_tile, 4);
    EXPECT_EQ(mirror_mode, 1);
    EXPECT_EQ(leave_mode, 0);
    EXPECT_FALSE(key_down(KEY_ESC)) << "the Esc that ended the match does not ask to quit";
    EXPECT_FALSE(key_down(KEY_T)) << "a held T is not a second match";
    editor_frame();
    EXPECT_EQ(matches_played, 1);
}

// ---- whether the players can meet ------------------------------------------

TEST_F(Designer, StartsAreJoinedOnlyThroughEdgeSharingCellsWithoutWalls)
{
    EXPECT_TRUE(start_cells_joined()) << "an open board";
    for (int r = 0; r < LEVEL_ROWS; r++)
        board[20][r] = 1;
    EXPECT_FALSE(start_cells_joined()) << "a wall across the board";
    board[20][33] = 19;
    EXPECT_TRUE(start_cells_joined()) << "a gap of the animated floor";

    // A staircase of walls open only at its corners: players do not walk
    // diagonally.
    clear_board(0);
    for (int r = 0; r < LEVEL_ROWS; r++)
        board[10 + r][r] = 17;
    EXPECT_FALSE(start_cells_joined());

    // Walls on the start cells themselves do not count; values that are no
    // tile id are floor.
    clear_board(3);
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        board[c][0] = -4;
    for (int r = 0; r < LEVEL_ROWS; r++)
        board[52][r] = 9999;
    board[0][0] = board[52][33] = 7;
    EXPECT_TRUE(start_cells_joined());
    board[52][20] = 5;
    EXPECT_FALSE(start_cells_joined());
}

namespace {
long long fake_now = 0;
long long fake_clock() { return fake_now; }
}  // namespace

TEST_F(Designer, ABoardWhosePlayersCannotMeetIsSavedAndPlayedButThePanelWarns)
{
    scratch_dir dir;
    std::filesystem::create_directory("levels");
    long long (*saved_clock)() = message_clock_ms;
    message_clock_ms = fake_clock;
    matches_played = 0;
    play_test_match = fake_match;
    for (int r = 0; r < LEVEL_ROWS; r++)
        board[20][r] = 1;

    testing::internal::CaptureStderr();
    EXPECT_EQ(save_level("SPLIT"), SAVE_DONE);
    EXPECT_EQ(std::filesystem::file_size("levels/SPLIT"), size_t(LEVEL_FILE_SIZE));
    EXPECT_STREQ(current_message(), "Saved SPLIT. Players cannot reach each other");
    press(KEY_T);
    EXPECT_EQ(matches_played, 1) << "the test play goes ahead";
    EXPECT_STREQ(current_message(), "Players cannot reach each other");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Saved SPLIT. Players cannot reach each other\nPlayers cannot reach each other\n");
    // In amber on the panel, where the key help was.
    editor_frame();
    int amber = 0;
    for (int y = PANEL_HELP_Y1; y <= PANEL_HELP_Y2; y++)
        for (int x = PANEL_HELP_X1; x <= PANEL_HELP_X2; x++)
            amber += getpixel(back_buffer, x, y) == MESSAGE_WARNING_COLOR;
    EXPECT_GT(amber, 50);

    board[20][5] = 0;   // a door in the wall: nothing to warn of
    clear_message();
    press(KEY_T);
    EXPECT_EQ(matches_played, 2);
    EXPECT_EQ(current_message(), nullptr);
    message_clock_ms = saved_clock;
}
