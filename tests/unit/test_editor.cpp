// The level editor: hovering, pen and flood fill, the palette and the tool
// buttons, Clear, and what a run of the editor keeps and resets.
#include <cstring>
#include <random>
#include <vector>

#include "editor_fixture.h"
#include "scratch_dir.h"

namespace {

class Editor : public EditorTest {};

// Centre of palette tile t (numbered column by column).
int palette_x(int t) { return PALETTE_X + PALETTE_STEP * (t / PALETTE_ROWS) + 6; }
int palette_y(int t) { return PALETTE_Y + PALETTE_STEP * (t % PALETTE_ROWS) + 6; }

bool same_pixels(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h)
{
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (getpixel(a, ax + x, ay + y) != getpixel(b, bx + x, by + y))
                return false;
    return true;
}

bool shows_tile(int x, int y, int tile)
{
    return same_pixels(back_buffer, x, y, level_bitmap(tile), 0, 0, CELL_SIZE, CELL_SIZE);
}

// The floor of a start cell with the player's figure drawn over it.
bool shows_start_mark(int col, int row, int walk_frame)
{
    BITMAP *want = create_bitmap(CELL_SIZE, CELL_SIZE);
    blit(level_bitmap(0), want, 0, 0, 0, 0, CELL_SIZE, CELL_SIZE);
    draw_sprite(want, game_bitmap(walk_frame), 0, 0);
    bool same = same_pixels(back_buffer, cell_x(col), cell_y(row), want, 0, 0, CELL_SIZE, CELL_SIZE);
    destroy_bitmap(want);
    return same;
}

}  // namespace

// ---- hovering ------------------------------------------------------------

TEST_F(Editor, HoverColumnsShareEdgesAndTheLaterCellWins)
{
    struct { int x, col; } columns[] = {{2, 0}, {13, 0}, {14, 1}, {637, 52}, {638, 52}, {639, 53},
                                         {1, 53}};
    for (auto c : columns) {
        update_hover_cell(c.x, 100);
        EXPECT_EQ(hover_col, c.col) << "x " << c.x;
    }
    struct { int y, row; } rows[] = {{2, 0}, {14, 1}, {409, 33}, {410, 33}, {411, 34}, {1, 34}};
    for (auto r : rows) {
        update_hover_cell(100, r.y);
        EXPECT_EQ(hover_row, r.row) << "y " << r.y;
    }
}

TEST_F(Editor, StartCellsAreNeverHoveredAndAlwaysFloor)
{
    board[0][0] = 7;
    board[52][33] = 7;
    update_hover_cell(cx(0), cy(0));
    EXPECT_EQ(hover_col, NO_HOVER_COL);
    EXPECT_EQ(hover_row, NO_HOVER_ROW);
    update_hover_cell(cx(52), cy(33));
    EXPECT_EQ(hover_col, NO_HOVER_COL);
    EXPECT_EQ(hover_row, NO_HOVER_ROW);
    EXPECT_EQ(board[0][0], 0);
    EXPECT_EQ(board[52][33], 0);
    update_hover_cell(cx(52), cy(0));   // the other corners are ordinary cells
    EXPECT_EQ(hover_col, 52);
    EXPECT_EQ(hover_row, 0);
}

// ---- pen -----------------------------------------------------------------

TEST_F(Editor, PenPaintsTheCellUnderThePointerButNeverAStartCell)
{
    left_tile = 5;
    frame_at(cx(10), cy(4), 1);
    EXPECT_EQ(board[10][4], 5);
    frame_at(cx(0), cy(0), 1);
    frame_at(cx(52), cy(33), 1);
    EXPECT_EQ(board[0][0], 0);
    EXPECT_EQ(board[52][33], 0);
    EXPECT_EQ(count_cells(5), 1);
}

TEST_F(Editor, BothButtonsHeldTheRightOneWins)
{
    left_tile = 5;
    right_tile = 8;
    frame_at(cx(3), cy(3), 3);
    EXPECT_EQ(board[3][3], 8);

    // In fill mode the right fill recolours the left tile's fresh region;
    // the start cells were set back to floor in between and stay out of it.
    clear_board(0);
    fill_mode = FILL_MODE;
    frame_at(cx(3), cy(3), 3);
    EXPECT_EQ(count_cells(8), LEVEL_CELLS - 2);
    EXPECT_EQ(count_cells(5), 0);
}

// ---- flood fill ----------------------------------------------------------

TEST_F(Editor, FillOfAnEmptyBoardReachesEveryCellAndTheStartCellsComeBack)
{
    fill_mode = FILL_MODE;
    left_tile = 5;
    frame_at(cx(20), cy(20), 1);
    EXPECT_EQ(count_cells(5), LEVEL_CELLS);
    frame_at(cx(20), cy(20), 0);
    EXPECT_EQ(count_cells(5), LEVEL_CELLS - 2);
    EXPECT_EQ(board[0][0], 0);
    EXPECT_EQ(board[52][33], 0);
}

TEST_F(Editor, FillStopsAtARingAndDoesNotLeakDiagonally)
{
    // A ring of 3s around (10..14, 10..14), with an inner cell touching the
    // outside only across a corner gap.
    for (int i = 9; i <= 15; i++) {
        board[i][9] = board[i][15] = 3;
        board[9][i] = board[15][i] = 3;
    }
    board[15][15] = 0;   // corner open: still closed to 4-connected fill
    flood_fill(12, 12, 6);
    for (int c = 0; c < LEVEL_COLUMNS; c++)
        for (int r = 0; r < LEVEL_ROWS; r++) {
            bool inside = c >= 10 && c <= 14 && r >= 10 && r <= 14;
            bool ring = !inside && c >= 9 && c <= 15 && r >= 9 && r <= 15 && !(c == 15 && r == 15);
            int want = inside ? 6 : ring ? 3 : 0;
            ASSERT_EQ(board[c][r], want) << "cell " << c << "," << r;
        }
}

TEST_F(Editor, FillWithTheSameTileChangesNothing)
{
    board[4][4] = 2;
    flood_fill(4, 4, 2);
    EXPECT_EQ(board[4][4], 2);
    flood_fill(30, 30, 0);
    EXPECT_EQ(count_cells(0), LEVEL_CELLS - 1);
}

TEST_F(Editor, FillRecoloursExactlyTheFourConnectedRegion)
{
    // Random boards of three tiles against a plain breadth-first region.
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; round++) {
        for (auto &column : board)
            for (auto &cell : column)
                cell = static_cast<int32_t>(rng() % 3);
        int col = static_cast<int>(rng() % LEVEL_COLUMNS);
        int row = static_cast<int>(rng() % LEVEL_ROWS);
        int target = board[col][row];

        std::vector<bool> region(LEVEL_CELLS, false);
        std::vector<std::pair<int, int>> queue{{col, row}};
        region[col * LEVEL_ROWS + row] = true;
        for (size_t q = 0; q < queue.size(); q++) {
            auto [c, r] = queue[q];
            const int dc[] = {-1, 1, 0, 0}, dr[] = {0, 0, -1, 1};
            for (int d = 0; d < 4; d++) {
                int nc = c + dc[d], nr = r + dr[d];
                if (nc < 0 || nc >= LEVEL_COLUMNS || nr < 0 || nr >= LEVEL_ROWS)
                    continue;
                if (board[nc][nr] != target || region[nc * LEVEL_ROWS + nr])
                    continue;
                region[nc * LEVEL_ROWS + nr] = true;
                queue.push_back({nc, nr});
            }
        }
        int32_t before[LEVEL_COLUMNS][LEVEL_ROWS];
        std::memcpy(before, board, sizeof board);
        flood_fill(col, row, 9);
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            for (int r = 0; r < LEVEL_ROWS; r++)
                ASSERT_EQ(board[c][r], region[c * LEVEL_ROWS + r] ? 9 : before[c][r])
                    << "round " << round << " cell " << c << "," << r;
    }
}

TEST_F(Editor, FillOfASnakeThroughTheWholeBoardSucceeds)
{
    // A one-cell corridor winding through every row: the deepest path a
    // depth-first fill can take.
    for (int r = 1; r < LEVEL_ROWS; r += 2)
        for (int c = 0; c < LEVEL_COLUMNS; c++)
            board[c][r] = 1;
    for (int r = 1; r < LEVEL_ROWS; r += 2)
        board[(r / 2) % 2 ? 0 : LEVEL_COLUMNS - 1][r] = 0;
    int floor = count_cells(0);
    flood_fill(0, 0, 4);
    EXPECT_EQ(count_cells(4), floor);
}

// ---- palette and tools ---------------------------------------------------

TEST_F(Editor, PaletteIsNumberedColumnByColumn)
{
    struct { int x, y, tile; } picks[] = {{13, 423, 0}, {29, 423, 3}, {13, 439, 1}, {25, 435, 0},
                                          {157, 455, 29}};
    for (auto p : picks) {
        left_tile = -1;
        frame_at(p.x, p.y, 1);
        EXPECT_EQ(left_tile, p.tile) << p.x << "," << p.y;
    }
    left_tile = 4;
    frame_at(26, 430, 1);   // between two palette tiles
    EXPECT_EQ(left_tile, 4);
    frame_at(palette_x(17), palette_y(17), 2);
    EXPECT_EQ(right_tile, 17);
    EXPECT_EQ(left_tile, 4);
}

TEST_F(Editor, ToolButtonsAndKeypadSwitchTheTool)
{
    frame_at(FILL_BUTTON_AREA.x1, FILL_BUTTON_AREA.y2, 1);
    EXPECT_EQ(fill_mode, FILL_MODE);
    frame_at(FILL_BUTTON_AREA.x1, FILL_BUTTON_AREA.y2, 0);
    key[KEY_PLUS_PAD] = 1;   // already fill: stays
    editor_frame();
    EXPECT_EQ(fill_mode, FILL_MODE);
    key[KEY_PLUS_PAD] = 0;
    frame_at(PEN_BUTTON_AREA.x2, PEN_BUTTON_AREA.y1, 2);   // right button: no effect
    EXPECT_EQ(fill_mode, FILL_MODE);
    frame_at(PEN_BUTTON_AREA.x2, PEN_BUTTON_AREA.y1, 1);
    EXPECT_EQ(fill_mode, PEN_MODE);
    set_mouse(0, 0, 0);
    key[KEY_MINUS_PAD] = 1;
    editor_frame();
    EXPECT_EQ(fill_mode, PEN_MODE);
    key[KEY_MINUS_PAD] = 0;
    key[KEY_PLUS_PAD] = 1;
    editor_frame();
    EXPECT_EQ(fill_mode, FILL_MODE);
}

// ---- Clear and Quit ------------------------------------------------------

TEST_F(Editor, ClearFillsTheBoardWithTheRightTileOnYes)
{
    right_tile = 7;
    key[KEY_C] = 1;
    key[KEY_Y] = 1;
    editor_frame();
    EXPECT_EQ(count_cells(7), LEVEL_CELLS);
    key[KEY_C] = 0;
    editor_frame();
    EXPECT_EQ(count_cells(7), LEVEL_CELLS - 2);

    // The Clear button asks too; No leaves the board alone.
    right_tile = 2;
    key[KEY_Y] = 0;
    key[KEY_N] = 1;
    frame_at(CLEAR_BUTTON_AREA.x1, CLEAR_BUTTON_AREA.y1, 1);
    EXPECT_EQ(count_cells(7), LEVEL_CELLS - 2);
    key[KEY_N] = 0;
    key[KEY_Y] = 1;
    frame_at(CLEAR_BUTTON_AREA.x2, CLEAR_BUTTON_AREA.y2, 1);
    EXPECT_EQ(count_cells(2), LEVEL_CELLS);
}

TEST_F(Editor, QuitNeedsAYes)
{
    key[KEY_ESC] = 1;
    key[KEY_N] = 1;
    editor_frame();
    EXPECT_EQ(leave_mode, 0);
    key[KEY_ESC] = 0;
    key[KEY_N] = 0;
    key[KEY_Y] = 1;
    frame_at(QUIT_BUTTON_AREA.x2, QUIT_BUTTON_AREA.y2, 1);
    EXPECT_EQ(leave_mode, -1);
}

// ---- a run of the editor -------------------------------------------------

TEST_F(Editor, ARunStartsEmptyAndKeepsTheToolsOfTheLastRun)
{
    fill_mode = FILL_MODE;
    left_tile = 12;
    right_tile = 21;
    board[5][5] = 9;
    std::memcpy(level_list[3], "\\OLD\0\0\0\0\0", 10);
    level_list[3][8] = 'x';
    key[KEY_ESC] = 1;   // the first frame asks to quit ...
    key[KEY_Y] = 1;     // ... and is told yes
    run_editor();
    EXPECT_EQ(leave_mode, -1);
    EXPECT_EQ(count_cells(0), LEVEL_CELLS);
    EXPECT_EQ(fill_mode, FILL_MODE);
    EXPECT_EQ(left_tile, 12);
    EXPECT_EQ(right_tile, 21);
    EXPECT_EQ(std::memcmp(level_list[3], "        ", 8), 0);
    EXPECT_EQ(level_list[3][8], 'x');
    EXPECT_EQ(level_list[3][9], 0);
    EXPECT_EQ(std::memcmp(level_list[LEVEL_LIST_SIZE - 1], "        ", 8), 0);
}

// ---- drawing -------------------------------------------------------------

TEST_F(Editor, ScreenShowsBoardPaletteSelectionAndPressedTool)
{
    board[1][0] = 19;      // the animated tile stands still in the editor
    board[2][0] = 9999;    // not a tile id: drawn as floor
    board[3][0] = -4;
    board[4][0] = 29;
    left_tile = 6;
    right_tile = 19;
    fill_mode = FILL_MODE;
    draw_editor_screen();
    EXPECT_TRUE(shows_tile(cell_x(1), cell_y(0), 19));
    EXPECT_TRUE(shows_tile(cell_x(2), cell_y(0), 0));
    EXPECT_TRUE(shows_tile(cell_x(3), cell_y(0), 0));
    EXPECT_TRUE(shows_tile(cell_x(4), cell_y(0), 29));
    EXPECT_TRUE(shows_tile(LEFT_TILE_X, LEFT_TILE_Y, 6));
    EXPECT_TRUE(shows_tile(RIGHT_TILE_X, RIGHT_TILE_Y, 19));
    for (int t = 0; t < TILE_COUNT; t++)
        EXPECT_TRUE(shows_tile(palette_x(t) - 6, palette_y(t) - 6, t)) << "palette " << t;
    EXPECT_TRUE(same_pixels(back_buffer, PEN_BUTTON_X, TOOL_BUTTON_Y, level_bitmap(OBJ_PEN_UP), 0, 0,
                            TOOL_BUTTON_SIZE, TOOL_BUTTON_SIZE));
    EXPECT_TRUE(same_pixels(back_buffer, FILL_BUTTON_X, TOOL_BUTTON_Y,
                            level_bitmap(OBJ_FILL_DOWN), 0, 0, TOOL_BUTTON_SIZE, TOOL_BUTTON_SIZE));
    fill_mode = PEN_MODE;
    draw_editor_screen();
    EXPECT_TRUE(same_pixels(back_buffer, PEN_BUTTON_X, TOOL_BUTTON_Y, level_bitmap(OBJ_PEN_DOWN), 0,
                            0, TOOL_BUTTON_SIZE, TOOL_BUTTON_SIZE));
}

// Each start cell carries its player's figure over the floor it keeps; the
// hover mark never covers it.
TEST_F(Editor, FrameDrawsThePanelTheStartMarksAndTheHoverMarkButNotOnAStartCell)
{
    frame_at(cx(0), cy(0), 0);
    EXPECT_TRUE(shows_start_mark(P1_START_COL, P1_START_ROW, OBJ_P1_WALK_FIRST));
    EXPECT_TRUE(shows_start_mark(P2_START_COL, P2_START_ROW, OBJ_P2_WALK_FIRST));
    EXPECT_FALSE(shows_tile(cell_x(0), cell_y(0), 0)) << "player 1's start is not marked";
    EXPECT_FALSE(shows_tile(cell_x(52), cell_y(33), 0)) << "player 2's start is not marked";
    EXPECT_EQ(board[P1_START_COL][P1_START_ROW], 0);
    EXPECT_EQ(board[P2_START_COL][P2_START_ROW], 0);
    EXPECT_TRUE(same_pixels(back_buffer, 0, PANEL_TOP + 30, level_bitmap(OBJ_EDITOR_PANEL), 0, 30,
                            10, 1));
    frame_at(cx(7), cy(8), 0);
    BITMAP *mark = level_bitmap(OBJ_HOVER_MARK);
    int mask = bitmap_mask_color(mark);
    bool marked = true;
    for (int y = 0; y < CELL_SIZE; y++)
        for (int x = 0; x < CELL_SIZE; x++)
            if (getpixel(mark, x, y) != mask)
                marked = marked && getpixel(back_buffer, cell_x(7) + x, cell_y(8) + y) ==
                                       getpixel(mark, x, y);
    EXPECT_TRUE(marked);
}

// ---- the panel's buttons, exactly where the panel shows them --------------

namespace {

// What the keyboard handler does for a key pressed and let go at once; the
// dialogs' passes each take one such press, in order.
void tap(int k)
{
    key_event(k);
    key[k] = 1;
    key_event(k | 0x80);
    key[k] = 0;
}

// A level whose every cell holds tile t.
void write_level_of(const char *path, int32_t t)
{
    std::vector<unsigned char> bytes;
    for (int i = 0; i < LEVEL_CELLS; i++)
        for (int b = 0; b < 4; b++)
            bytes.push_back(static_cast<unsigned char>(t >> (8 * b)));
    write_bytes(path, bytes);
}

}  // namespace

TEST_F(Editor, ButtonsActOnlyInsideTheirAreas)
{
    // Just outside every edge of the pen (x 200..220, y 450..470) and fill
    // (x 222..242) buttons, then their corners.
    fill_mode = FILL_MODE;
    for (auto p : {std::pair{199, 460}, {221, 460}, {210, 449}, {210, 471}}) {
        frame_at(p.first, p.second, 1);
        EXPECT_EQ(fill_mode, FILL_MODE) << p.first << "," << p.second;
    }
    frame_at(220, 470, 1);
    EXPECT_EQ(fill_mode, PEN_MODE);
    for (auto p : {std::pair{221, 460}, {243, 460}, {230, 449}, {230, 471}}) {
        frame_at(p.first, p.second, 1);
        EXPECT_EQ(fill_mode, PEN_MODE) << p.first << "," << p.second;
    }
    frame_at(222, 450, 1);
    EXPECT_EQ(fill_mode, FILL_MODE);

    // Clear (x 497..555, y 420..434) and Quit (x 560..618, y 454..468) would
    // ask, and Y is held to answer yes at once.
    right_tile = 6;
    key[KEY_Y] = 1;
    for (auto p : {std::pair{496, 427}, {556, 427}, {520, 419}, {520, 435},
                   {559, 460}, {619, 460}, {580, 453}, {580, 469}}) {
        frame_at(p.first, p.second, 1);
        EXPECT_EQ(count_cells(6), 0) << p.first << "," << p.second;
        EXPECT_EQ(leave_mode, 0) << p.first << "," << p.second;
    }
    frame_at(497, 420, 1);
    EXPECT_EQ(count_cells(6), LEVEL_CELLS);
    frame_at(618, 468, 1);
    EXPECT_NE(leave_mode, 0);
}

TEST_F(Editor, LoadButtonOpensTheBrowserOverTheEditor)
{
    scratch_dir dir;
    std::filesystem::create_directory("levels");
    write_level_of("levels/a", 5);
    key[KEY_ENTER] = 1;      // the browser accepts its first file at once
    // Just outside the button (x 560..618, y 420..434) nothing opens.
    for (auto p : {std::pair{559, 427}, {619, 427}, {590, 419}}) {
        frame_at(p.first, p.second, 1);
        EXPECT_EQ(count_cells(5), 0) << p.first << "," << p.second;
    }
    frame_at(618, 434, 1);
    EXPECT_EQ(count_cells(5), LEVEL_CELLS);
}

TEST_F(Editor, TheBrowserOpenedWithLShowsAFreshPictureOfTheEditor)
{
    scratch_dir dir;
    std::filesystem::create_directory("levels");
    write_level_of("levels/a", 5);
    // The hover mark of this frame is on cell (10, 10); the browser's own
    // picture must show the board there without it.
    key[KEY_L] = 1;
    key[KEY_ENTER] = 1;
    frame_at(cx(10), cy(10), 0);
    EXPECT_EQ(count_cells(5), LEVEL_CELLS);
    EXPECT_TRUE(same_pixels(screen, cell_x(10), cell_y(10), level_bitmap(0), 0, 0, CELL_SIZE,
                            CELL_SIZE));
}

TEST_F(Editor, SaveButtonAsksForANameAndSavesOnlyOnYes)
{
    scratch_dir dir;
    std::filesystem::create_directory("levels");
    board[5][5] = 9;
    // Each dialog pass takes one press: X is taken by the editor's own
    // frame with the click, then the name "A", Enter, and the answer.
    for (int answer : {int(KEY_N), int(KEY_Y)}) {
        set_mouse(590, 444, 1);
        for (int k : {int(KEY_X), int(KEY_A), int(KEY_ENTER), answer})
            tap(k);
        editor_frame();
        set_mouse(0, 0, 0);
        EXPECT_EQ(std::filesystem::exists("levels/A"), answer == KEY_Y);
    }
    // Just outside the button (x 560..618, y 437..451) nothing opens.
    std::filesystem::remove("levels/A");
    for (auto p : {std::pair{559, 444}, {619, 444}, {590, 452}}) {
        frame_at(p.first, p.second, 1);
        EXPECT_FALSE(std::filesystem::exists("levels/A"));
    }
}

TEST_F(Editor, EachToolShowsItsOwnPointerAndFocus)
{
    fill_mode = PEN_MODE;
    draw_editor_screen();
    EXPECT_EQ(current_pointer().sprite, level_bitmap(32));
    EXPECT_EQ(current_pointer().focus_x, 0);
    EXPECT_EQ(current_pointer().focus_y, 16);
    fill_mode = FILL_MODE;
    draw_editor_screen();
    EXPECT_EQ(current_pointer().sprite, level_bitmap(31));
    EXPECT_EQ(current_pointer().focus_x, 2);
    EXPECT_EQ(current_pointer().focus_y, 11);
}
